#pragma once

// The PLC's view of a configuration: one tag per mapped command (or per object of a device's
// default PDO, or per byte where the target has no arrays), with its place in the PLC's input or
// output image, a data type the target knows, a name it accepts and a comment that says where
// the bytes come from.

#include "devices/device_description.h"
#include "model/configuration.h"
#include "model/message.h"
#include "model/vocabulary.h"

#include <map>
#include <string>
#include <vector>

namespace torvane {

// The file the tags are written to.
enum class TagFormat {
    Csv, // generic, RFC 4180
    Tia, // the PLC tag table workbook of a big-endian PLC: no arrays, no typed multi-byte tags
    Iec, // an IEC 61131-3 global variable list of a little-endian PLC
};

// The format a command-line or settings word names; false for any other word.
bool tagFormatFromName(const std::string& name, TagFormat& format);
const char* tagFormatName(TagFormat format);

struct TagOptions {
    TagFormat format = TagFormat::Csv;
    int inputStart = 0;  // PLC byte address of the gateway's first input byte
    int outputStart = 0; // PLC byte address of the gateway's first output byte
    // The device of a node, by the node's 1-based position in the node table; a PDO command
    // whose bytes are those of one of its default PDOs gets a tag per mapped object.
    std::map<int, const DeviceDescription*> devices;
};

// The types a tag can have; the formats name them.
enum class TagType {
    Bool,
    Byte,
    Word,
    DWord,
    LWord,
    SInt,
    Int,
    DInt,
    LInt,
    USInt,
    UInt,
    UDInt,
    ULInt,
    Real,
    LReal,
    ByteArray
};

struct PlcTag {
    std::string name; // UTF-8
    PlcDirection direction = PlcDirection::Input;
    int address = 0; // PLC byte address: start of its image + mapping address (+ offset)
    int bit = -1;    // 0..7 for a Bool, else -1
    int bytes = 0;
    TagType type = TagType::Byte;
    std::string node;        // "5"; empty in a slave configuration
    std::string command;     // "Transmit PDO"
    std::string object;      // "COB-ID 389 (185h)", "Index 24641 (6041h) Sub-index 0 (00h)"
    std::string comment;     // UTF-8
    int commandPosition = 0; // 0-based position of the command in the table
};

struct TagTable {
    TagFormat format = TagFormat::Csv;
    bool master = true;
    bool controlStatusReserved = false; // "Control&Monitor Status" holds 2 bytes of each buffer
    std::vector<PlcTag> tags;           // in command order
};

enum class TagOutcome {
    Ok,
    Refused, // a command lacks its mapping address or byte count, or lies beyond the buffers
};

struct TagResult {
    TagOutcome outcome = TagOutcome::Ok;
    Message message;  // for Refused: the text to show, naming the command
    int command = -1; // for Refused: the 0-based position of that command
    TagTable table;
};

// The tags of every used command. Refused, with an empty table, when a command has no mapping
// address ("Calculate Mapping Address first"), no byte count, or bytes beyond the largest buffer.
TagResult buildTagTable(const GatewayConfiguration& cfg, const TagOptions& options);

// `text` (UTF-8) made a name the format accepts: what it does not allow becomes '_', runs of
// '_' one, none at either end; empty when what is left does not start as a name must.
std::string tagIdentifier(const std::string& text, TagFormat format);

// The type's name in the format; "ARRAY[0..n-1] OF BYTE" / "Array[0..n-1] of Byte" for an array.
std::string tagTypeName(TagType type, TagFormat format, int bytes);

} // namespace torvane
