#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace ry::cli {

// A small streaming JSON writer: objects, arrays and scalar values with two-space indenting.
// Strings are written as given (UTF-8) with JSON escapes.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void BeginObject(std::string_view key = {});
    void EndObject();
    void BeginArray(std::string_view key = {});
    void EndArray();

    void String(std::string_view key, std::string_view value);
    void Number(std::string_view key, long long value);
    void Bool(std::string_view key, bool value);
    void Null(std::string_view key);

    // Array elements.
    void String(std::string_view value) { String({}, value); }
    void Number(long long value) { Number({}, value); }

private:
    void Prefix(std::string_view key);
    void Quoted(std::string_view text);

    std::ostream& out_;
    std::vector<bool> first_; // per open container: no element written yet
};

} // namespace ry::cli
