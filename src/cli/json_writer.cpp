#include "json_writer.h"

#include <cstdio>

namespace ry::cli {

void JsonWriter::Prefix(std::string_view key) {
    if (!first_.empty()) {
        out_ << (first_.back() ? "\n" : ",\n");
        first_.back() = false;
        out_ << std::string(first_.size() * 2, ' ');
    }
    if (!key.empty()) {
        Quoted(key);
        out_ << ": ";
    }
}

void JsonWriter::Quoted(std::string_view text) {
    out_ << '"';
    for (char c : text) {
        switch (c) {
        case '"':
            out_ << "\\\"";
            break;
        case '\\':
            out_ << "\\\\";
            break;
        case '\r':
            out_ << "\\r";
            break;
        case '\n':
            out_ << "\\n";
            break;
        case '\t':
            out_ << "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
                out_ << buf;
            } else {
                out_ << c;
            }
        }
    }
    out_ << '"';
}

void JsonWriter::BeginObject(std::string_view key) {
    Prefix(key);
    out_ << '{';
    first_.push_back(true);
}

void JsonWriter::EndObject() {
    bool empty = first_.back();
    first_.pop_back();
    if (!empty)
        out_ << '\n' << std::string(first_.size() * 2, ' ');
    out_ << '}';
    if (first_.empty())
        out_ << '\n';
}

void JsonWriter::BeginArray(std::string_view key) {
    Prefix(key);
    out_ << '[';
    first_.push_back(true);
}

void JsonWriter::EndArray() {
    bool empty = first_.back();
    first_.pop_back();
    if (!empty)
        out_ << '\n' << std::string(first_.size() * 2, ' ');
    out_ << ']';
}

void JsonWriter::String(std::string_view key, std::string_view value) {
    Prefix(key);
    Quoted(value);
}

void JsonWriter::Number(std::string_view key, long long value) {
    Prefix(key);
    out_ << value;
}

void JsonWriter::Null(std::string_view key) {
    Prefix(key);
    out_ << "null";
}

void JsonWriter::Bool(std::string_view key, bool value) {
    Prefix(key);
    out_ << (value ? "true" : "false");
}

} // namespace ry::cli
