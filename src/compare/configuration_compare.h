#pragma once

// Compares two configurations field by field: the parameters of both pages, the node table and
// the commands, matched by what identifies them rather than by position. No Qt here.

#include "comm/transfer_codes.h"
#include "model/configuration.h"
#include "model/message.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace torvane {

enum class CompareScope {
    AllFields, // every field the grid shows, as stored
    Carried,   // what a download carries, compared as the wire codes it becomes
};

// Where a difference sits, so a window can select its tree item.
enum class PlaceKind { Configuration, Profibus, Canopen, Node, Command };

struct Difference {
    Message place;  // "CANopen: SDO Response Timeout", "Node 5 / Transmit PDO COB-ID 389: ..."
    Message ours;   // the value as the grid shows it; "(absent)" when the entry is missing
    Message theirs; // the same for the other side
    PlaceKind kind = PlaceKind::Configuration;
    int position = 0; // 1-based node or command position on our side; 0 when ours has none

    bool operator==(const Difference&) const = default;
};

// Values the comparison cannot see, counted and named once.
struct NotCompared {
    int count = 0;
    std::vector<Message> fields; // distinct field names in the order first met

    void add(const Message& field, int n = 1);
    void merge(const NotCompared& other);
};

// "Not compared: <count> values of fields the comparison cannot see: <names>".
Message notComparedMessage(const NotCompared& notCompared);

struct CompareOptions {
    CompareScope scope = CompareScope::AllFields;
    // Carried scope: the master download format (Tavo20New or Tavo20Compatible); a slave
    // configuration takes the slave format of the same generation.
    DownloadFormat format = DownloadFormat::Tavo20New;
    // Carried scope: the other side is what an upload returned, already as the gateway holds it
    // (no 84 cut, no mapping recalculation).
    bool theirsUploaded = false;
    // Carried scope, new master format: the SDO options frame is compared too (the gateway's
    // firmware takes it).
    bool sdoOptions = true;
};

enum class CompareOutcome {
    Compared,
    NotDownloadable, // a side cannot be encoded in the chosen format; see `message`
};

struct CompareResult {
    CompareOutcome outcome = CompareOutcome::Compared;
    Message message; // NotDownloadable: the transfer result's text, naming the side
    std::vector<Difference> differences;
    NotCompared notCompared;

    bool equal() const { return outcome == CompareOutcome::Compared && differences.empty(); }
};

// The differences between `ours` and `theirs` in the scope of `options`. Commands sharing a key
// (node address, type, Index and Sub-index or COB-ID) pair up in list order; an unpaired command
// is one difference. Never fails in the all-fields scope; the carried scope gives
// NotDownloadable when the compatible format refuses a side (too many commands, I/O size).
CompareResult compareConfigurations(const GatewayConfiguration& ours,
                                    const GatewayConfiguration& theirs,
                                    const CompareOptions& options = {});

// What an XML file read for a comparison did not hold: the parameters of its type it has no
// element for, and what a damaged file lost of its nodes and commands.
struct UnheldFields {
    std::vector<std::string CONFIG::*> parameters;
    bool inportNum = false;
    std::vector<int> nodes; // 0-based positions whose name or address was not read
    std::vector<std::pair<int, std::string INSTRUCTION::*>> commandFields; // 0-based positions

    bool empty() const {
        return parameters.empty() && !inportNum && nodes.empty() && commandFields.empty();
    }
};

// Reads an XML side of a comparison as File -> Open does (readXml: a new configuration of the
// type the file names) into `out`, and what the file does not hold into `unheld`. Returns false
// with the reader's message in `error` (and `out` untouched) when the bytes hold no
// configuration. `damagedLine` as readXml gives it.
bool readXmlSide(std::string_view bytes, GatewayConfiguration& out, UnheldFields& unheld,
                 Message& error, int* damagedLine = nullptr);

// Takes the fields that either side's XML file does not hold out of the comparison: each is set
// to the same value on both sides and counted once in `notCompared`, whichever side it is on, so
// comparing a with b and b with a gives mirrored differences. A null `unheld` is a side that
// holds every field (an archive, the open configuration).
void setAsideUnheld(GatewayConfiguration& a, const UnheldFields* aUnheld, GatewayConfiguration& b,
                    const UnheldFields* bUnheld, NotCompared& notCompared);

// One line per difference: "place: ours -> theirs", each part printable (printableText) and in
// double quotes when it holds " -> " or starts with a quote.
std::string differenceLine(const Difference& d);

} // namespace torvane
