#include "registry/store_format.h"

#include <charconv>
#include <optional>

#include "winplat/cp1250.h"
#include "winplat/registry.h"

namespace winplat::registry {

namespace {

constexpr char kHex[] = "0123456789abcdef";

const char kHeader[] =
    "; winplat registry: [key path] lines, then \"name\"=type:data lines for its values.\n"
    "; Types: sz, expand_sz, multi_sz (quoted, escapes \\\\ \\\" \\0 \\n \\r \\t \\xNN), dword (8 hex\n"
    "; digits), binary (hex), hex(N) (type N, hex). @ is the default value.\n";

void appendHexByte(std::string& out, uint8_t byte) {
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
}

// A byte that must not appear raw in the file: controls, and those cp1250 leaves unassigned
// (they map to C1 controls a reader would not see).
bool needsEscape(uint8_t byte) {
    const char32_t code = cp1250::toUnicode(byte);
    return code < 0x20 || (code >= 0x7f && code < 0xa0);
}

std::string quoted(std::string_view bytes) {
    std::string out = "\"";
    std::string plain;
    auto flush = [&] {
        out += cp1250::toUtf8(plain);
        plain.clear();
    };
    for (char c : bytes) {
        const auto byte = static_cast<uint8_t>(c);
        const char* simple = byte == '\\' ? "\\\\" : byte == '"' ? "\\\"" : byte == 0 ? "\\0"
                           : byte == '\n' ? "\\n" : byte == '\r' ? "\\r" : byte == '\t' ? "\\t" : nullptr;
        if (!simple && !needsEscape(byte)) {
            plain += c;
            continue;
        }
        flush();
        if (simple) {
            out += simple;
        } else {
            out += "\\x";
            appendHexByte(out, byte);
        }
    }
    flush();
    return out + "\"";
}

std::string keyComponent(std::string_view name) {
    std::string plain;
    std::string out;
    for (char c : name) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte != '%' && !needsEscape(byte)) {
            plain += c;
            continue;
        }
        out += cp1250::toUtf8(plain);
        plain.clear();
        out += '%';
        appendHexByte(out, byte);
    }
    return out + cp1250::toUtf8(plain);
}

std::string hexBytes(std::string_view bytes) {
    std::string out;
    for (char c : bytes) appendHexByte(out, static_cast<uint8_t>(c));
    return out;
}

struct TypeName {
    DWORD type;
    const char* name;
};
constexpr TypeName kStringTypes[] = {{REG_SZ, "sz"}, {REG_EXPAND_SZ, "expand_sz"}, {REG_MULTI_SZ, "multi_sz"}};

const char* stringTypeName(DWORD type) {
    for (const auto& entry : kStringTypes) {
        if (entry.type == type) return entry.name;
    }
    return nullptr;
}

std::string valueLine(const RegValue& value) {
    std::string line = value.name.empty() ? "@" : quoted(value.name);
    line += '=';
    if (const char* name = stringTypeName(value.type)) {
        line += std::string(name) + ":" + quoted(value.data);
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        uint32_t number = 0;
        for (size_t i = 0; i < 4; ++i) number |= uint32_t(uint8_t(value.data[i])) << (8 * i);
        char digits[9] = {};
        for (size_t i = 0; i < 8; ++i) digits[7 - i] = kHex[(number >> (4 * i)) & 15];
        line += std::string("dword:") + digits;
    } else if (value.type == REG_BINARY) {
        line += "binary:" + hexBytes(value.data);
    } else {
        line += "hex(" + std::to_string(value.type) + "):" + hexBytes(value.data);
    }
    return line + "\n";
}

void serialiseKey(const RegKey& key, std::string& path, std::string& out) {
    const size_t length = path.size();
    if (!path.empty()) path += '\\';
    path += keyComponent(key.name);
    // A root shows only when it has values: its sub-keys' lines name it anyway.
    const bool isRoot = length == 0;
    if (!isRoot || !key.values.empty()) out += "[" + path + "]\n";
    for (const auto& value : key.values) out += valueLine(value);
    for (const auto& sub : key.subKeys) serialiseKey(*sub, path, out);
    path.resize(length);
}

// Reads one line's pieces from the front of 'rest'; each reader fails with a reason.
class LineReader {
public:
    explicit LineReader(std::string_view line) : rest_(line) {}

    bool eat(char c) {
        if (rest_.empty() || rest_.front() != c) return false;
        rest_.remove_prefix(1);
        return true;
    }
    bool done() const { return rest_.empty(); }
    std::string_view rest() const { return rest_; }
    void skip(size_t count) { rest_.remove_prefix(count); }

    // A quoted string's bytes (cp1250).
    std::optional<std::string> quotedString(std::string& why) {
        if (!eat('"')) return fail(why, "a quotation mark is missing");
        std::string bytes;
        std::string plain;
        auto flush = [&]() -> bool {
            bool exact = true;
            bytes += cp1250::fromUtf8(plain, &exact);
            plain.clear();
            return exact;
        };
        while (!rest_.empty()) {
            const char c = rest_.front();
            rest_.remove_prefix(1);
            if (c == '"') {
                if (!flush()) return fail(why, "a character cp1250 cannot hold");
                return bytes;
            }
            if (c != '\\') {
                plain += c;
                continue;
            }
            if (!flush()) return fail(why, "a character cp1250 cannot hold");
            const auto escaped = escape(why);
            if (!escaped) return std::nullopt;
            bytes += *escaped;
        }
        return fail(why, "the closing quotation mark is missing");
    }

    std::optional<std::string> hex(std::string_view digits, std::string& why) {
        if (digits.size() % 2 != 0) return fail(why, "an odd number of hex digits");
        std::string bytes;
        for (size_t i = 0; i < digits.size(); i += 2) {
            const auto byte = hexByte(digits.substr(i, 2));
            if (!byte) return fail(why, "a character that is not a hex digit");
            bytes += char(*byte);
        }
        return bytes;
    }

    static std::optional<uint8_t> hexByte(std::string_view two) {
        uint8_t byte = 0;
        if (two.size() != 2 || !isHexDigit(two[0]) || !isHexDigit(two[1])) return std::nullopt;
        std::from_chars(two.data(), two.data() + 2, byte, 16);
        return byte;
    }

private:
    static bool isHexDigit(char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }

    static std::nullopt_t fail(std::string& why, const char* reason) {
        why = reason;
        return std::nullopt;
    }

    std::optional<char> escape(std::string& why) {
        if (rest_.empty()) return fail(why, "a line ends inside an escape");
        const char c = rest_.front();
        rest_.remove_prefix(1);
        switch (c) {
            case '\\': return '\\';
            case '"': return '"';
            case '0': return '\0';
            case 'n': return '\n';
            case 'r': return '\r';
            case 't': return '\t';
            case 'x': {
                const auto byte = hexByte(rest_.substr(0, 2));
                if (!byte) return fail(why, "\\x is not followed by two hex digits");
                rest_.remove_prefix(2);
                return char(*byte);
            }
            default: return fail(why, "an unknown escape");
        }
    }

    std::string_view rest_;
};

std::optional<KeyPath> keyPathOf(std::string_view text, std::string& why) {
    KeyPath path;
    while (true) {
        const size_t end = std::min(text.find('\\'), text.size());
        std::string_view part = text.substr(0, end);
        std::string name;
        std::string run;
        for (size_t i = 0; i < part.size(); ++i) {
            if (part[i] == '%') {
                bool exact = true;
                name += cp1250::fromUtf8(run, &exact);
                if (!exact) {
                    why = "a character cp1250 cannot hold";
                    return std::nullopt;
                }
                run.clear();
                const auto byte = LineReader::hexByte(part.substr(i + 1, 2));
                if (!byte) {
                    why = "% is not followed by two hex digits";
                    return std::nullopt;
                }
                name += char(*byte);
                i += 2;
            } else {
                run += part[i];
            }
        }
        bool exact = true;
        name += cp1250::fromUtf8(run, &exact);
        if (!exact || name.empty()) {
            why = name.empty() ? "an empty key name" : "a character cp1250 cannot hold";
            return std::nullopt;
        }
        path.push_back(std::move(name));
        if (end == text.size()) break;
        text.remove_prefix(end + 1);
    }
    if (const char* problem = pathProblem(path)) {
        why = problem;
        return std::nullopt;
    }
    if (!isRootName(path.front())) {
        why = "the path does not start at a root key";
        return std::nullopt;
    }
    return path;
}

std::optional<RegValue> valueOf(std::string_view line, std::string& why) {
    LineReader reader(line);
    RegValue value;
    if (!reader.eat('@')) {
        auto name = reader.quotedString(why);
        if (!name) return std::nullopt;
        if (name->empty()) {
            why = "an empty value name (the default value is @)";
            return std::nullopt;
        }
        if (name->find('\0') != std::string::npos) {
            why = "a value name holds a zero byte";
            return std::nullopt;
        }
        if (name->size() > kMaxValueName) {
            why = "a value name is longer than 16,383 characters";
            return std::nullopt;
        }
        value.name = std::move(*name);
    }
    if (!reader.eat('=')) {
        why = "'=' is missing after the value name";
        return std::nullopt;
    }
    const std::string_view rest = reader.rest();
    const size_t colon = rest.find(':');
    if (colon == std::string_view::npos) {
        why = "':' is missing after the type";
        return std::nullopt;
    }
    const std::string_view type = rest.substr(0, colon);
    reader.skip(colon + 1);
    std::optional<std::string> data;
    bool known = false;
    for (const auto& entry : kStringTypes) {
        if (type == entry.name) {
            value.type = entry.type;
            data = reader.quotedString(why);
            known = true;
        }
    }
    if (known && data && !reader.done()) {
        why = "text follows the closing quotation mark";
        return std::nullopt;
    }
    if (!known && type == "dword") {
        value.type = REG_DWORD;
        const auto digits = reader.rest();
        data = digits.size() == 8 ? reader.hex(digits, why) : std::nullopt;
        if (digits.size() != 8) why = "a dword needs 8 hex digits";
        if (data) data = std::string{(*data)[3], (*data)[2], (*data)[1], (*data)[0]};
        known = true;
    }
    if (!known && type == "binary") {
        value.type = REG_BINARY;
        data = reader.hex(reader.rest(), why);
        known = true;
    }
    if (!known && type.size() > 5 && type.substr(0, 4) == "hex(" && type.back() == ')') {
        const auto number = type.substr(4, type.size() - 5);
        const auto result = std::from_chars(number.data(), number.data() + number.size(), value.type);
        known = result.ec == std::errc() && result.ptr == number.data() + number.size();
        if (known) data = reader.hex(reader.rest(), why);
    }
    if (!known) {
        why = "an unknown type";
        return std::nullopt;
    }
    if (!data) return std::nullopt;
    value.data = std::move(*data);
    return value;
}

struct Parser {
    ParsedStore store;
    RegKey* key = nullptr;  // the key the value lines go to; none before the first header or after a bad one
    size_t lineNumber = 0;

    void problem(std::string_view why) {
        store.problems.push_back("line " + std::to_string(lineNumber) + ": " + std::string(why));
    }

    void line(std::string_view text) {
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        if (text.empty() || text.front() == ';') return;
        std::string why;
        if (text.front() == '[') {
            key = nullptr;
            if (text.size() < 3 || text.back() != ']') return problem("a key line must end with ']'");
            const auto path = keyPathOf(text.substr(1, text.size() - 2), why);
            if (!path) return problem(why);
            bool created = false;
            key = &createKey(store.top, *path, created);
            return;
        }
        const auto value = valueOf(text, why);
        if (!value) return problem(why);
        if (!key) return problem("a value with no valid key line above it");
        key->setValue(value->name, value->type, value->data);
    }
};

}  // namespace

std::string serialise(const RegKey& top) {
    std::string out = kHeader;
    std::string path;
    for (const auto& root : top.subKeys) serialiseKey(*root, path, out);
    return out;
}

ParsedStore parse(std::string_view text) {
    Parser parser;
    while (!text.empty()) {
        ++parser.lineNumber;
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            parser.problem("the store ends inside this line; it is left out");
            break;
        }
        parser.line(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return std::move(parser.store);
}

}  // namespace winplat::registry
