#include "export/eds_generator.h"

#include "export/xlsx_package.h"
#include "model/atomic_file.h"
#include "model/record_view.h"
#include "model/strings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <vector>

namespace torvane {
namespace {

constexpr const char* kCrLf = "\r\n";

template <typename... Args> std::string format(const char* fmt, Args... args) {
    char buf[128];
    const int n = std::snprintf(buf, sizeof buf, fmt, args...);
    return std::string(
        buf, n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buf - 1));
}

// Object indexes appear as four upper-case hex digits in headers and object lists.
std::string indexText(unsigned index) {
    std::string s = format("%4.4x", index);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

class EdsWriter {
public:
    void line(std::string_view s) {
        out_ += s;
        out_ += kCrLf;
    }
    void lines(std::initializer_list<std::string_view> ls) {
        for (std::string_view s : ls) {
            line(s);
        }
    }
    void blank() { out_ += kCrLf; }
    void raw(std::string_view s) { out_ += s; }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

struct Pdo {
    std::int32_t cobId;
    std::int32_t bytes;
};

void writeFileHeader(EdsWriter& w, std::string_view fileName, const LocalTime& now) {
    const std::string time = edsTimeText(now.hour, now.minute);
    const std::string date = edsDateText(now);
    w.line("[FileInfo]");
    w.line("FileName=" + std::string(fileName));
    w.lines(
        {"FileVersion=3", "FileRevision=7", "Description=EDS file for CANopen VELTRACOM module"});
    w.line("CreationTime=" + time);
    w.line("CreationDate=" + date);
    w.line("CreatedBy=VELTRACOM");
    w.line("ModificationTime=" + time);
    w.line("ModificationDate=" + date);
    w.line("ModifiedBy=VELTRACOM");
    w.line("EDSVersion=4.0");
}

void writeOptionalObjectList(EdsWriter& w, std::size_t r, std::size_t t) {
    w.line("[OptionalObjects]");
    w.line(format("SupportedObjects=%zu", 4 + 2 * r + 2 * t));
    w.lines({"1=0x100C", "2=0x100D", "3=0x1016", "4=0x1017"});
    int number = 5;
    auto entry = [&](unsigned index) { w.line(format("%d=0x", number++) + indexText(index)); };
    for (std::size_t k = 0; k < r; ++k) {
        entry(0x1400 + static_cast<unsigned>(k));
    }
    for (std::size_t k = 0; k < r; ++k) {
        entry(0x1600 + static_cast<unsigned>(k));
    }
    for (std::size_t k = 0; k < t; ++k) {
        entry(0x1800 + static_cast<unsigned>(k));
    }
    w.blank();
    for (std::size_t k = 0; k < t; ++k) {
        entry(0x1A00 + static_cast<unsigned>(k));
    }
    w.blank();
}

void writeFixedOptionalObjects(EdsWriter& w) {
    w.lines({"[100c]", "ParameterName=Guard-Time", "ObjectType=7", "DataType=0x0006",
             "LowLimit=0x0000", "HighLimit=0xFFFF", "AccessType=RW", "DefaultValue=0",
             "PDOMapping=0"});
    w.blank();
    w.lines({"[100d]", "ParameterName=Life-Time Factor", "ObjectType=7", "DataType=0x0005",
             "LowLimit=0x00", "HighLimit=0xFF", "AccessType=RW", "DefaultValue=0", "PDOMapping=0"});
    w.blank();
    w.lines({"[1016]", "SubNumber=2", "ParameterName=Consumer Heartbeat Time", "ObjectType=0x8"});
    w.blank();
    w.lines({"[1016sub0]", "ParameterName=Number of Entries", "ObjectType=0x7", "DataType=0x0005",
             "LowLimit=1", "HighLimit=0x7F", "DefaultValue=1", "AccessType=RO", "PDOMapping=0"});
    w.blank();
    w.lines({"[1016sub1]", "ParameterName=Consumer Heartbeat Time", "ObjectType=0x7",
             "DataType=0x0007", "LowLimit=0x0", "HighLimit=0x007FFFFF", "DefaultValue=0",
             "AccessType=RW", "PDOMapping=0"});
    w.blank();
    w.lines({"[1017]", "ParameterName=Producer Heartbeat Time", "ObjectType=7", "DataType=0x0006",
             "LowLimit=0x0000", "HighLimit=0xFFFF", "AccessType=RW", "DefaultValue=0x3e8",
             "PDOMapping=0"});
    w.blank();
}

void writeCommunicationObjects(EdsWriter& w, const std::vector<Pdo>& pdos, bool receive,
                               std::int32_t nodeId) {
    for (std::size_t k = 0; k < pdos.size(); ++k) {
        const std::string x = indexText((receive ? 0x1400U : 0x1800U) + static_cast<unsigned>(k));
        const int p = static_cast<int>(k) + 1;
        w.line("[" + x + "]");
        // SubNumber counts the sub-indexes described: a TPDO has 0, 1, 2, 3 and 5.
        w.line(receive ? "SubNumber=3" : "SubNumber=5");
        w.line(format(receive ? "ParameterName=Receive PDO%d Parameter"
                              : "ParameterName=Transmit PDO%d Parameter",
                      p));
        w.line("ObjectType=0x09");
        w.blank();
        w.lines({"[" + x + "sub0]", "ParameterName=Number of entries", "ObjectType=7",
                 "DataType=0x0005", "AccessType=RO", "LowLimit=2"});
        w.line(receive ? "HighLimit=2" : "HighLimit=5");
        w.line(receive ? "DefaultValue=0x2" : "DefaultValue=0x5");
        w.line("PDOMapping=0");
        w.blank();
        w.lines({"[" + x + "sub1]", "ParameterName=COBID", "ObjectType=7", "DataType=0x0007",
                 "AccessType=RW", "PDOMapping=0"});
        w.line("DefaultValue=" + edsCobIdText(pdos[k].cobId, nodeId));
        w.blank();
        w.lines({"[" + x + "sub2]", "ParameterName=Transmission type", "ObjectType=7",
                 "DataType=0x0005", "AccessType=RW", "DefaultValue=254", "PDOMapping=0"});
        w.blank();
        if (!receive) {
            w.lines({"[" + x + "sub3]", "ParameterName=Inhibit Time", "ObjectType=7", "DataType=6",
                     "AccessType=RW", "DefaultValue=0", "PDOMapping=0"});
            w.blank();
            w.lines({"[" + x + "sub5]", "ParameterName=Event Timer", "ObjectType=7", "DataType=6",
                     "LowLimit=0x0", "HighLimit=0xFFFF", "AccessType=RW", "DefaultValue=0",
                     "PDOMapping=0"});
            w.blank();
        }
    }
}

void writeMappingObjects(EdsWriter& w, const std::vector<Pdo>& pdos, bool receive) {
    for (std::size_t k = 0; k < pdos.size(); ++k) {
        const std::string x = indexText((receive ? 0x1600U : 0x1A00U) + static_cast<unsigned>(k));
        const int p = static_cast<int>(k) + 1;
        w.line("[" + x + "]");
        w.line("SubNumber=2");
        w.line(format(receive ? "ParameterName=Receive Pdo %d Mapping"
                              : "ParameterName=Transmit Pdo %d Mapping",
                      p));
        w.line("ObjectType=9");
        w.blank();
        w.lines({"[" + x + "sub0]", "ParameterName=Number of mapped objects", "ObjectType=7",
                 "DataType=0x0005", "AccessType=RW", "DefaultValue=1", "PDOMapping=0", "LowLimit=0",
                 "HighLimit=8"});
        w.blank();
        w.lines({"[" + x + "sub1]", "ParameterName=1.mapped object", "ObjectType=7",
                 "DataType=0x0007", "AccessType=RW"});
        w.line("DefaultValue=" + edsMappedObjectText(receive, static_cast<int>(k), pdos[k].bytes));
        w.line("PDOMapping=0");
        w.blank();
    }
}

void writeAreaObjects(EdsWriter& w, const std::vector<Pdo>& pdos, bool receive) {
    const std::string name = receive ? "Out_Area" : "In_Area";
    for (std::size_t k = 0; k < pdos.size(); ++k) {
        const std::string y = indexText((receive ? 0x3000U : 0x2000U) + static_cast<unsigned>(k));
        // A plain VAR: sub-index 0 of an ARRAY would have to be its UNSIGNED8 entry count.
        w.lines({"[" + y + "]", "ParameterName=" + name, "ObjectType=7"});
        w.line(format("DataType=0x%4.4x", edsDataType(pdos[k].bytes)));
        w.line(receive ? "AccessType=RWW" : "AccessType=RO");
        w.lines({"DefaultValue=0x00", "PDOMapping=1"});
        w.blank();
    }
}

void writeManufacturerObjects(EdsWriter& w, const std::vector<Pdo>& rpdos,
                              const std::vector<Pdo>& tpdos) {
    w.line("[ManufacturerObjects]");
    w.line(format("SupportedObjects=%zu", tpdos.size() + rpdos.size()));
    int number = 1;
    for (std::size_t k = 0; k < tpdos.size(); ++k) {
        w.line(format("%d=0x", number++) + indexText(0x2000 + static_cast<unsigned>(k)));
    }
    for (std::size_t k = 0; k < rpdos.size(); ++k) {
        w.line(format("%d=0x", number++) + indexText(0x3000 + static_cast<unsigned>(k)));
    }
    w.blank();
    writeAreaObjects(w, tpdos, false);
    writeAreaObjects(w, rpdos, true);
    w.blank();
}

std::string baseName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

} // namespace

LocalTime currentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &now);
#else
    localtime_r(&now, &tm);
#endif
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

bool edsAvailable(const GatewayConfiguration& cfg) {
    return cfg.ConfigType == kCanopenSlave;
}

std::string edsTimeText(int hour, int minute) {
    const bool pm = hour >= 12;
    int h12 = hour % 12;
    if (h12 == 0) {
        h12 = 12;
    }
    return format("%02d:%02d%s", h12, minute, pm ? "PM" : "AM");
}

std::string edsDateText(const LocalTime& t) {
    return format("%02d-%02d-%04d", t.month, t.day, t.year);
}

std::string edsCobIdText(std::int32_t cobId, std::int32_t nodeId) {
    static constexpr std::int64_t kOffsets[] = {0x180, 0x200, 0x280, 0x300,
                                                0x380, 0x400, 0x480, 0x500};
    const std::int64_t d = static_cast<std::int64_t>(cobId) - nodeId;
    for (std::int64_t offset : kOffsets) {
        if (d == offset) {
            return format("$NODEID+0x%llx", static_cast<long long>(offset));
        }
    }
    return format("0x%4.4x", static_cast<std::uint32_t>(cobId));
}

std::string edsMappedObjectText(bool receivePdo, int k, std::int32_t bytes) {
    const std::uint32_t area = (receivePdo ? 0x3000U : 0x2000U) + static_cast<std::uint32_t>(k);
    const std::uint32_t bits = (static_cast<std::uint32_t>(bytes) * 8U) & 0xFFFFU;
    return format("0x%8.8x", static_cast<unsigned>((area << 16) + bits));
}

unsigned edsDataType(std::int32_t bytes) {
    static constexpr unsigned kTypes[] = {0x0005, 0x0006, 0x0016, 0x0007,
                                          0x0018, 0x0019, 0x001a, 0x001b};
    if (bytes >= 1 && bytes <= 8) {
        return kTypes[bytes - 1];
    }
    return 0x001c;
}

std::string buildEdsText(const CONFIG& config, std::string_view fileName,
                         std::string_view template1, std::string_view template2,
                         const LocalTime& now) {
    std::vector<Pdo> tpdos;
    std::vector<Pdo> rpdos;
    const RecordView view(config);
    for (const CommandView& cmd : view.commands()) {
        const Pdo pdo{cmd.cobId.number, cmd.bytes.number};
        if (cmd.kind == CommandKind::TransmitPdo) {
            tpdos.push_back(pdo);
        } else if (cmd.kind == CommandKind::ReceivePdo) {
            rpdos.push_back(pdo);
        }
    }
    const std::int32_t nodeId = decodeNumber(config.SlaveNodeAddress).number;

    EdsWriter w;
    writeFileHeader(w, fileName, now);
    w.raw(template1);
    w.blank();
    w.line(format("NrOfTXPDO=%zu", tpdos.size()));
    w.line(format("NrOfRXPDO=%zu", rpdos.size()));
    w.raw(template2);
    w.blank();
    writeOptionalObjectList(w, rpdos.size(), tpdos.size());
    writeFixedOptionalObjects(w);
    writeCommunicationObjects(w, rpdos, true, nodeId);
    writeMappingObjects(w, rpdos, true);
    writeCommunicationObjects(w, tpdos, false, nodeId);
    writeMappingObjects(w, tpdos, false);
    writeManufacturerObjects(w, rpdos, tpdos);
    w.lines({"[DummyUsage]", "Dummy0001=0", "Dummy0002=0", "Dummy0003=0", "Dummy0004=0",
             "Dummy0005=1", "Dummy0006=0", "Dummy0007=0"});
    return w.take();
}

EdsOutcome createEdsFile(const GatewayConfiguration& cfg, const std::string& path,
                         const EdsTemplatePaths& templates, const LocalTime& now) {
    std::string parts[2];
    const std::string* paths[2] = {&templates.template1, &templates.template2};
    for (int i = 0; i < 2; ++i) {
        Message error;
        if (!readTemplateFile(*paths[i], parts[i], error)) {
            return {EdsResult::TemplateUnreadable, Message(str::EdsTemplateUnreadable, *paths[i]),
                    error};
        }
    }
    const std::string text = buildEdsText(cfg.Config, baseName(path), parts[0], parts[1], now);
    Message error;
    if (!writeFileAtomically(path, text, error)) {
        return {EdsResult::CreateFailed, str::CreateEdsFileError, error};
    }
    return {};
}

} // namespace torvane
