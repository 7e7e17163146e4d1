#pragma once

#include "model/configuration.h"
#include "model/message.h"

#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// The XML file bytes of a configuration (declaration version "1.0", encoding "gb2312").
std::string writeXml(const GatewayConfiguration& cfg);

// Reads XML file bytes into `cfg`: a new configuration of the type the file names, then the
// file read over it positionally and forgivingly (a missing element ends the reading and keeps
// what was read), so nothing of what `cfg` held before survives.
// A file holds a configuration when its second top-level element is named `ConfigType`: that
// element names the type everything else is read into. Every file this program writes has it;
// a single-rooted document (`<html>`, any ordinary XML file) or a bare `<FiledBus/>` has not.
// Returns false (and leaves `cfg` as it was) when the bytes hold no element or no
// configuration; `error` then says so. `damagedLine`, when given, gets the line where a
// malformed text stopped being readable, 0 when the text was well-formed.
bool readXml(std::string_view bytes, GatewayConfiguration& cfg, Message& error,
             int* damagedLine = nullptr);

// Reads the file over `cfg` as it is instead of over a new configuration (only ConfigType is
// taken from the file), so the fields the file does not hold keep their values. Fails as
// readXml does.
bool readXmlOver(std::string_view bytes, GatewayConfiguration& cfg, Message& error);

// A parameter row whose value an XML file would not hold.
struct DroppedField {
    Text label;        // the grid label, as in model/strings.h
    std::string value; // the value as the grid shows it, UTF-8

    // By the label's text: a label may reach here from more than one copy of the literal.
    bool operator==(const DroppedField& other) const {
        return std::string_view(label.source) == other.label.source && value == other.value;
    }
};

// The parameter rows of the configuration's own type that the XML file does not hold (master:
// the six rows from "The Cycle for RPDO Transmission" on; slave: the four rows of its block)
// whose values differ from those of a new configuration of that type, in grid order. Empty
// when writing XML loses nothing the grid shows.
std::vector<DroppedField> fieldsXmlDrops(const GatewayConfiguration& cfg);

// "<label> (<value>), <label> (<value>)": the dropped fields as one line.
Message droppedFieldsText(const std::vector<DroppedField>& fields);

} // namespace torvane
