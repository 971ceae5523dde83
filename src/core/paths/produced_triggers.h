#pragma once

// Which triggers a module of a given type can ever take: what the box menu offers as path
// commands, and what it greys out.

#include <string_view>

namespace ry {

// Whether a module of the type can take a path on `trigger` (the text between the braces:
// "1", "*", "success", "timeout 5", "true"), compared without letter case or outer blanks.
// The triggers are those the paths panel lists for the type, read as the walk reads them: a
// Get Numbers module takes any keyed number as its exact number, an Evaluate module any
// result value, while a Time Switch only ever comes out true or false. A Hangup takes none. A
// type whose triggers are typed freely (TTS, a name not in the catalogue) may take any.
bool TypeProducesTrigger(std::string_view type, std::string_view trigger);

} // namespace ry
