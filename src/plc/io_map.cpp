#include "plc/io_map.h"

#include "mapping/mapping_calculation.h"
#include "mapping/predownload_checks.h"
#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_codec.h"
#include "plc/plc_tags.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <vector>

namespace torvane {
namespace {

std::string html(const std::string& s) {
    std::string out;
    for (const char ch : s) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
        case '\n':
            out += ' ';
            break;
        default:
            out += ch;
        }
    }
    return out;
}

std::string hex(const char* pattern, int value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, pattern, static_cast<unsigned>(std::max(value, 0)));
    return buf;
}

std::string range(int first, int count) {
    return count <= 1 ? std::to_string(first)
                      : std::to_string(first) + ".." + std::to_string(first + count - 1);
}

// Keeps every check running so the map shows each question the download would ask.
class Recorder final : public CycleQuestioner {
public:
    bool askToContinue(const CycleQuestion& question) override {
        questions.push_back(question.text);
        return true;
    }
    std::vector<Message> questions;
};

struct Row {
    int start = INT_MAX; // INT_MAX without a mapping address
    const CommandView* command = nullptr;
};

} // namespace

std::string ioMapHtml(const GatewayConfiguration& cfg, const IoMapOptions& options,
                      const TextTranslator& translate) {
    // A marked text, or a whole message, in the reader's language and escaped for the page.
    const auto label = [&translate](const Message& m) { return html(m.render(translate)); };
    const auto io = label;
    const CONFIG& c = cfg.Config;
    const bool master = cfg.isMaster();
    const RecordView view(c);

    std::string out =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + io(str::IoMapTitle) +
        "</title>\n<style>body{font-family:sans-serif;font-size:10pt}"
        "table{border-collapse:collapse;margin-bottom:8pt}"
        "th,td{border:1px solid #444;padding:2px 4px;text-align:left;vertical-align:top}"
        "th{background:#ddd}</style></head>\n<body>\n<h1>" +
        io(str::IoMapTitle) + "</h1>\n";

    // Identity and gateway parameters.
    out += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n";
    const auto line = [&out](const std::string& name, const std::string& value) {
        out += "<tr><th>" + name + "</th><td>" + html(value) + "</td></tr>\n";
    };
    line(io(str::IoMapFile),
         options.fileName.empty() ? Message(str::IoMapNoFile).render(translate) : options.fileName);
    line(io(str::IoMapDate), options.date);
    line(io(str::IoMapConfigType), master ? str::CanopenMaster : str::CanopenSlave);
    line(label(str::ParamNumberOfBytes), cfg.Fieldbus.InportNum);
    out += "</table>\n<h2>" + io(str::IoMapParameters) + "</h2>\n";
    out += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n";
    struct Parameter {
        Text label;
        std::string CONFIG::*field;
    };
    static constexpr Parameter kMaster[] = {
        {str::ParamBaudRate, &CONFIG::BuadRate},
        {str::ParamNodeId, &CONFIG::SlaveAddress},
        {str::ParamSdoTimeout, &CONFIG::SDOTimeout},
        {str::ParamEnableNmt, &CONFIG::NMT},
        {str::ParamClearTpdo, &CONFIG::TPDOTimeout},
        {str::ParamDelayStart, &CONFIG::DelayStart},
        {str::ParamSyncCycle, &CONFIG::SYNC},
        {str::ParamControlStatus, &CONFIG::ControlStatus},
        {str::ParamErrorControl, &CONFIG::ErrorControl},
        {str::ParamRpdoCycle, &CONFIG::RPDOCycle},
        {str::ParamOutputProcessing, &CONFIG::OutputProcessing},
        {str::ParamSdoCycle, &CONFIG::SDOCycle},
        {str::ParamSdoConcurrent, &CONFIG::SDOConcurrent},
        {str::ParamSdoRetries, &CONFIG::SDORetries},
        {str::ParamSdoPollDelay, &CONFIG::SDOPollDelay},
    };
    static constexpr Parameter kSlave[] = {
        {str::ParamBaudRate, &CONFIG::SlaveBaudRate},
        {str::ParamNodeId, &CONFIG::SlaveNodeAddress},
        {str::ParamClearRpdo, &CONFIG::RPDOTimeout},
        {str::ParamDelayStart, &CONFIG::SlaveDelayStart},
    };
    if (master) {
        for (const Parameter& p : kMaster) {
            line(label(p.label), configTextToUtf8(c.*p.field));
        }
    } else {
        for (const Parameter& p : kSlave) {
            line(label(p.label), configTextToUtf8(c.*p.field));
        }
    }
    out += "</table>\n";

    // One table per buffer, in mapping-address order.
    const int limit = ioByteLimit(cfg.Fieldbus.InportNum);
    for (const PlcDirection direction : {PlcDirection::Input, PlcDirection::Output}) {
        const bool input = direction == PlcDirection::Input;
        const int plcStart = input ? options.inputStart : options.outputStart;
        const std::string areaName = input ? "%IB" : "%QB";
        std::vector<Row> rows;
        for (const CommandView& cmd : view.commands()) {
            if (cmd.kind && plcDirection(*cmd.kind, master) == direction) {
                const bool placed = cmd.mappingAddress.entered() && cmd.mappingAddress.number >= 0;
                rows.push_back({placed ? cmd.mappingAddress.number : INT_MAX, &cmd});
            }
        }
        std::ranges::stable_sort(rows, {}, &Row::start);
        out += "<h2>" + io(input ? str::IoMapInputs : str::IoMapOutputs) + "</h2>\n";
        std::vector<bool> used(static_cast<std::size_t>(limit), false);
        if (rows.empty()) {
            out += "<p>" + io(str::IoMapNoCommands) + "</p>\n";
        } else {
            out += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n<tr>";
            for (const Text h : {str::IoMapColBytes, str::IoMapColPlcAddress, str::IoMapColNode,
                                 str::IoMapColCommand, str::IoMapColObject, str::IoMapColLength,
                                 str::IoMapColDescription}) {
                out += "<th>" + io(h) + "</th>";
            }
            out += "</tr>\n";
            for (const Row& r : rows) {
                const CommandView& cmd = *r.command;
                const int bytes = cmd.bytes.atLeastZero();
                const bool placed = r.start != INT_MAX;
                std::string object;
                if (cmd.isPdo()) {
                    object = std::to_string(cmd.cobId.number) + hex(" (%Xh)", cmd.cobId.number);
                } else {
                    object = std::to_string(cmd.index.number) + ":" +
                             std::to_string(cmd.subIndex.number) +
                             hex(" (%04Xh", cmd.index.number) + hex(":%02Xh)", cmd.subIndex.number);
                }
                std::string plc = "-";
                if (placed && bytes > 0) {
                    const long long first = static_cast<long long>(plcStart) + r.start;
                    plc = areaName + std::to_string(first) +
                          (bytes > 1 ? ".." + areaName + std::to_string(first + bytes - 1) : "");
                }
                const std::string cells[] = {placed ? range(r.start, bytes) : std::string("-"),
                                             plc,
                                             master ? std::to_string(cmd.nodeAddress.number)
                                                    : std::string("-"),
                                             cmd.type()->label,
                                             object,
                                             std::to_string(bytes),
                                             html(configTextToUtf8(cmd.record->Description))};
                out += "<tr>";
                for (const std::string& cell : cells) {
                    out += "<td>";
                    out += cell;
                    out += "</td>";
                }
                out += "</tr>\n";
                for (int b = 0; placed && b < bytes; ++b) {
                    const long long at = static_cast<long long>(r.start) + b;
                    if (at < limit) {
                        used[static_cast<std::size_t>(at)] = true;
                    }
                }
            }
            out += "</table>\n";
        }
        std::string free;
        int freeCount = 0;
        for (int b = 0; b < limit;) {
            if (used[static_cast<std::size_t>(b)]) {
                ++b;
                continue;
            }
            int e = b;
            while (e < limit && !used[static_cast<std::size_t>(e)]) {
                ++e;
            }
            free += (free.empty() ? "" : ", ") + range(b, e - b);
            freeCount += e - b;
            b = e;
        }
        out += "<p>" +
               (freeCount == 0
                    ? io(str::IoMapNoFreeBytes)
                    : label(Message(str::IoMapFreeBytes, std::string_view(free), freeCount))) +
               "</p>\n";
        if (c.ControlStatus == str::Enable) {
            out += "<p>" + io(str::IoMapReserved) + "</p>\n";
        }
    }

    // The checks a download runs, and the cycles the gateway can keep.
    out += "<h2>" + io(str::IoMapChecks) + "</h2>\n";
    if (!master) {
        out += "<p>" + io(str::IoMapChecksSlave) + "</p>\n";
    } else {
        Recorder recorder;
        const CheckResult result = runPreDownloadChecks(cfg, recorder);
        for (const Message& q : recorder.questions) {
            out += "<p>" + label(q) + "</p>\n";
        }
        std::string message = result.message.render(translate);
        while (!message.empty() && message.back() == '\n') {
            message.pop_back();
        }
        out += "<p>" + (result.passed() ? io(str::IoMapChecksPassed) : html(message)) + "</p>\n";
        out += "<h2>" + io(str::IoMapCycles) + "</h2>\n";
        const int rpdos = static_cast<int>(view.ofKind(CommandKind::ReceivePdo).size());
        const int sdos = static_cast<int>(view.ofKind(CommandKind::UploadSdo).size() +
                                          view.ofKind(CommandKind::DownloadSdo).size());
        const std::string rpdoCycle = configTextToUtf8(c.RPDOCycle);
        const std::string sdoCycle = configTextToUtf8(c.SDOCycle);
        out +=
            "<p>" +
            label(Message(str::IoMapRpdoCycle, rpdos,
                          leastCycleMs(c.BuadRate, CycleKind::Rpdo, rpdos),
                          std::string_view(rpdoCycle))) +
            "<br>" +
            label(Message(str::IoMapSdoCycle, sdos, leastCycleMs(c.BuadRate, CycleKind::Sdo, sdos),
                          std::string_view(sdoCycle))) +
            "</p>\n";
    }
    out += "<p>&nbsp;</p>\n<p>" + io(str::IoMapSignature) +
           " ______________________________</p>\n</body></html>\n";
    return out;
}

std::string ioMapHtml(const GatewayConfiguration& cfg, const IoMapOptions& options) {
    return ioMapHtml(cfg, options, nullptr);
}

} // namespace torvane
