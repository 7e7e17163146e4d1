#include "plc/tag_files.h"

#include "model/strings.h"

namespace torvane {
namespace {

const char* directionName(PlcDirection d) {
    return d == PlcDirection::Input ? "input" : "output";
}

char area(PlcDirection d) {
    return d == PlcDirection::Input ? 'I' : 'Q';
}

// 'B', 'W', 'D' by the bytes a scalar tag takes; 0 for a bit, an array or an 8-byte tag.
char sizePrefix(const PlcTag& t) {
    if (t.type == TagType::Bool || t.type == TagType::ByteArray) {
        return 0;
    }
    switch (t.bytes) {
    case 1:
        return 'B';
    case 2:
        return 'W';
    case 4:
        return 'D';
    default:
        return 0;
    }
}

std::string csvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) {
        return s;
    }
    std::string out = "\"";
    for (const char ch : s) {
        out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    }
    return out + "\"";
}

// A comment that cannot end the IEC comment early or break the line.
std::string iecComment(const std::string& s) {
    std::string out;
    for (const char ch : s) {
        const bool breaksLine = ch == '\r' || ch == '\n' || ch == '\t';
        if ((ch == ')' && !out.empty() && out.back() == '*') ||
            (ch == '*' && !out.empty() && out.back() == '(')) {
            out += ' ';
        }
        out += breaksLine ? ' ' : ch;
    }
    return out;
}

// "%IW12": the area, the size letter and the number.
std::string iecAddress(char area, char size, int number) {
    std::string s = "%";
    s += area;
    s += size;
    s += std::to_string(number);
    return s;
}

std::string tiaAddress(const PlcTag& t) {
    const std::string a(1, area(t.direction));
    if (t.type == TagType::Bool) {
        return "%" + a + std::to_string(t.address) + "." + std::to_string(t.bit);
    }
    return "%" + a + std::string(1, sizePrefix(t) != 0 ? sizePrefix(t) : 'B') +
           std::to_string(t.address);
}

} // namespace

std::string tagsCsv(const TagTable& table) {
    std::string out = "name,direction,address,data type,bytes,node,command,object,comment\r\n";
    for (const PlcTag& t : table.tags) {
        const std::string address =
            std::to_string(t.address) + (t.bit >= 0 ? "." + std::to_string(t.bit) : "");
        out += csvField(t.name) + ',' + directionName(t.direction) + ',' + address + ',' +
               csvField(tagTypeName(t.type, TagFormat::Csv, t.bytes)) + ',' +
               std::to_string(t.bytes) + ',' + t.node + ',' + csvField(t.command) + ',' +
               csvField(t.object) + ',' + csvField(t.comment) + "\r\n";
    }
    if (table.controlStatusReserved) {
        out += ",,,,,,,," + csvField(str::PlcTagsReserved) + "\r\n";
    }
    return out;
}

std::string tagsIec(const TagTable& table, bool wordAddressing) {
    std::string out = wordAddressing
                          ? "(* PLC tags of the gateway's buffers. Word addressing: %IW n and %QW "
                            "n are bytes 2n and 2n+1, %ID n and %QD n bytes 4n to 4n+3, %IX n.b "
                            "bit b of word n; CANopen data are little-endian. *)\n"
                          : "(* PLC tags of the gateway's buffers. Byte addressing: %IB n, %IW n "
                            "and %ID n (and %Q) begin at byte n, %IX n.b is bit b of byte n; "
                            "CANopen data are little-endian. *)\n";
    if (table.controlStatusReserved) {
        out += "(* " + std::string(str::PlcTagsReserved) + " *)\n";
    }
    out += "VAR_GLOBAL\n";
    for (const PlcTag& t : table.tags) {
        const char a = area(t.direction);
        std::string address;
        std::string type = tagTypeName(t.type, TagFormat::Iec, t.bytes);
        std::string comment = t.comment;
        const char prefix = sizePrefix(t);
        if (t.type == TagType::Bool) {
            const int byte = wordAddressing ? t.address / 2 : t.address;
            const int bit = wordAddressing ? t.bit + 8 * (t.address % 2) : t.bit;
            address = iecAddress(a, 'X', byte);
            address += "." + std::to_string(bit);
        } else if (prefix == 0 || prefix == 'B' || !wordAddressing) {
            if (prefix == 0 && t.type != TagType::ByteArray) {
                // An 8-byte value: no size prefix of its own, so its bytes.
                comment.insert(0, type + "; ");
                type = tagTypeName(TagType::ByteArray, TagFormat::Iec, t.bytes);
            }
            address = iecAddress(a, prefix != 0 ? prefix : 'B', t.address);
        } else if (t.address % t.bytes == 0) {
            address = iecAddress(a, prefix, t.address / t.bytes);
        } else {
            comment.insert(0, type + "; ");
            type = tagTypeName(TagType::ByteArray, TagFormat::Iec, t.bytes);
            address = iecAddress(a, 'B', t.address);
        }
        out += "    ";
        out += t.name;
        out += " AT ";
        out += address;
        out += " : ";
        out += type;
        out += ';';
        if (!comment.empty()) {
            out += " (* " + iecComment(comment) + " *)";
        }
        out += '\n';
    }
    out += "END_VAR\n";
    return out;
}

std::vector<SheetCells> tiaCells(const TagTable& table) {
    SheetCells tags{kTiaSheet, {}};
    const char* header[] = {"Name",          "Path",        "Data Type",      "Logical Address",
                            "Comment",       "Hmi Visible", "Hmi Accessible", "Hmi Writeable",
                            "Typeobject ID", "Version ID"};
    for (int c = 0; c < 10; ++c) {
        tags.cells.push_back({1, c + 1, header[c]});
    }
    int row = 2;
    for (const PlcTag& t : table.tags) {
        const std::string cells[] = {
            t.name,        kTiaTagTable, tagTypeName(t.type, TagFormat::Tia, t.bytes),
            tiaAddress(t), t.comment,    "True",
            "True",        "True"};
        for (int c = 0; c < 8; ++c) {
            tags.cells.push_back({row, c + 1, cells[c]});
        }
        ++row;
    }
    std::vector<SheetCells> sheets{std::move(tags)};
    if (table.controlStatusReserved) {
        sheets.push_back({"Notes", {{1, 1, str::PlcTagsReserved}}});
    }
    return sheets;
}

bool tagsTiaWorkbook(const TagTable& table, std::string& out, Message& error) {
    const std::vector<SheetCells> sheets = tiaCells(table);
    std::vector<std::string> names;
    names.reserve(sheets.size());
    for (const SheetCells& s : sheets) {
        names.push_back(s.sheetName);
    }
    std::string blank;
    return blankWorkbookPackage(names, blank, error) &&
           fillWorkbookPackage(blank, sheets, out, error);
}

bool tagFileBytes(const TagTable& table, bool wordAddressing, std::string& out, Message& error) {
    switch (table.format) {
    case TagFormat::Csv:
        out = tagsCsv(table);
        return true;
    case TagFormat::Iec:
        out = tagsIec(table, wordAddressing);
        return true;
    case TagFormat::Tia:
        return tagsTiaWorkbook(table, out, error);
    }
    return false;
}

} // namespace torvane
