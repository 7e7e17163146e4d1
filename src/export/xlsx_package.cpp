#include "export/xlsx_package.h"

#include "model/atomic_file.h"
#include "model/strings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <list>
#include <map>
#include <memory>
#include <tinyxml2.h>
#include <zip.h>

namespace torvane {
namespace {

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

// A template is a few kilobytes; anything far larger is not a workbook we made.
constexpr zip_uint64_t kMaxPartSize = zip_uint64_t{64} << 20;
constexpr int kMaxRow = 1048576;
constexpr int kMaxColumn = 16384;

std::string_view localName(const char* name) {
    std::string_view n(name);
    const std::size_t colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

std::string prefixOf(const char* name) {
    std::string_view n(name);
    const std::size_t colon = n.find(':');
    return colon == std::string_view::npos ? std::string() : std::string(n.substr(0, colon + 1));
}

XMLElement* firstChild(XMLElement* parent, std::string_view name) {
    for (XMLElement* e = parent->FirstChildElement(); e != nullptr; e = e->NextSiblingElement()) {
        if (localName(e->Name()) == name) {
            return e;
        }
    }
    return nullptr;
}

XMLElement* nextSibling(XMLElement* e, std::string_view name) {
    for (e = e->NextSiblingElement(); e != nullptr; e = e->NextSiblingElement()) {
        if (localName(e->Name()) == name) {
            return e;
        }
    }
    return nullptr;
}

// Parses "B12" into column 2, row 12; false for anything else.
bool parseCellRef(const char* ref, int& row, int& column) {
    if (ref == nullptr) {
        return false;
    }
    int col = 0;
    const char* p = ref;
    for (; *p >= 'A' && *p <= 'Z'; ++p) {
        col = col * 26 + (*p - 'A' + 1);
        if (col > kMaxColumn) {
            return false;
        }
    }
    int r = 0;
    const char* digits = p;
    for (; *p >= '0' && *p <= '9'; ++p) {
        r = r * 10 + (*p - '0');
        if (r > kMaxRow) {
            return false;
        }
    }
    if (*p != '\0' || p == digits || digits == ref || r == 0) {
        return false;
    }
    row = r;
    column = col;
    return true;
}

std::string cellRef(int row, int column) {
    return columnLetters(column) + std::to_string(row);
}

// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one.
std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    std::size_t n = 0;
    unsigned cp = 0;
    if (c < 0x80) {
        return 1;
    }
    if ((c & 0xE0) == 0xC0) {
        n = 2;
        cp = c & 0x1FU;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3;
        cp = c & 0x0FU;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4;
        cp = c & 0x07U;
    } else {
        return 0;
    }
    if (i + n > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b(i + k) & 0x3FU);
    }
    static constexpr unsigned kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE ||
        cp == 0xFFFF) {
        return 0;
    }
    return n;
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Cell text as OOXML stores it: characters XML cannot carry become _xHHHH_, a literal
// "_xHHHH_" is protected by escaping its underscore, and invalid UTF-8 becomes U+FFFD.
std::string ooxmlText(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        const auto uc = static_cast<unsigned char>(c);
        if (c == '_' && i + 6 < s.size() && s[i + 1] == 'x' && isHex(s[i + 2]) && isHex(s[i + 3]) &&
            isHex(s[i + 4]) && isHex(s[i + 5]) && s[i + 6] == '_') {
            out += "_x005F_";
            ++i;
            continue;
        }
        if (uc < 0x20 && c != '\t' && c != '\n') {
            char buf[8];
            std::snprintf(buf, sizeof buf, "_x%04X_", static_cast<unsigned>(uc));
            out += buf;
            ++i;
            continue;
        }
        const std::size_t n = utf8Length(s, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        out.append(s.substr(i, n));
        i += n;
    }
    return out;
}

// Gives every row and cell an explicit reference, so inserting never shifts an implied one.
bool normalizeReferences(XMLElement* sheetData, Message& error) {
    int lastRow = 0;
    for (XMLElement* row = firstChild(sheetData, "row"); row != nullptr;
         row = nextSibling(row, "row")) {
        int r = lastRow + 1;
        if (row->Attribute("r") != nullptr) {
            r = row->IntAttribute("r", 0);
        }
        if (r <= lastRow || r > kMaxRow) {
            error = str::SheetRowsOutOfOrder;
            return false;
        }
        row->SetAttribute("r", r);
        lastRow = r;
        int lastCol = 0;
        for (XMLElement* c = firstChild(row, "c"); c != nullptr; c = nextSibling(c, "c")) {
            int cr = r;
            int cc = lastCol + 1;
            if (c->Attribute("r") != nullptr && !parseCellRef(c->Attribute("r"), cr, cc)) {
                error = Message(str::SheetBadReference, c->Attribute("r"));
                return false;
            }
            if (cr != r || cc <= lastCol) {
                error = Message(str::SheetCellsOutOfOrder, r);
                return false;
            }
            c->SetAttribute("r", cellRef(r, cc).c_str());
            lastCol = cc;
        }
    }
    return true;
}

XMLElement* rowElement(XMLDocument& doc, XMLElement* sheetData, int r) {
    XMLElement* before = nullptr;
    for (XMLElement* row = firstChild(sheetData, "row"); row != nullptr;
         row = nextSibling(row, "row")) {
        const int rr = row->IntAttribute("r", 0);
        if (rr == r) {
            return row;
        }
        if (rr > r) {
            break;
        }
        before = row;
    }
    XMLElement* row = doc.NewElement((prefixOf(sheetData->Name()) + "row").c_str());
    row->SetAttribute("r", r);
    if (before != nullptr) {
        sheetData->InsertAfterChild(before, row);
    } else {
        sheetData->InsertFirstChild(row);
    }
    return row;
}

XMLElement* cellElement(XMLDocument& doc, XMLElement* row, int r, int column) {
    XMLElement* before = nullptr;
    for (XMLElement* c = firstChild(row, "c"); c != nullptr; c = nextSibling(c, "c")) {
        int cr = 0;
        int cc = 0;
        parseCellRef(c->Attribute("r"), cr, cc);
        if (cc == column) {
            return c;
        }
        if (cc > column) {
            break;
        }
        before = c;
    }
    XMLElement* c = doc.NewElement((prefixOf(row->Name()) + "c").c_str());
    c->SetAttribute("r", cellRef(r, column).c_str());
    if (before != nullptr) {
        row->InsertAfterChild(before, c);
    } else {
        row->InsertFirstChild(c);
    }
    return c;
}

void setInlineString(XMLDocument& doc, XMLElement* cell, const std::string& text) {
    const std::string prefix = prefixOf(cell->Name());
    cell->DeleteChildren();
    cell->DeleteAttribute("t");
    cell->SetAttribute("t", "inlineStr");
    XMLElement* is = doc.NewElement((prefix + "is").c_str());
    XMLElement* t = doc.NewElement((prefix + "t").c_str());
    const std::string value = ooxmlText(text);
    if (!value.empty() && (value.front() == ' ' || value.back() == ' ' || value.front() == '\t' ||
                           value.back() == '\t' || value.find('\n') != std::string::npos)) {
        t->SetAttribute("xml:space", "preserve");
    }
    t->SetText(value.c_str());
    is->InsertEndChild(t);
    cell->InsertEndChild(is);
}

void updateDimension(XMLElement* worksheet, XMLElement* sheetData) {
    XMLElement* dimension = firstChild(worksheet, "dimension");
    if (dimension == nullptr) {
        return;
    }
    int minRow = kMaxRow + 1;
    int maxRow = 0;
    int minCol = kMaxColumn + 1;
    int maxCol = 0;
    for (XMLElement* row = firstChild(sheetData, "row"); row != nullptr;
         row = nextSibling(row, "row")) {
        for (XMLElement* c = firstChild(row, "c"); c != nullptr; c = nextSibling(c, "c")) {
            int r = 0;
            int col = 0;
            if (parseCellRef(c->Attribute("r"), r, col)) {
                minRow = std::min(minRow, r);
                maxRow = std::max(maxRow, r);
                minCol = std::min(minCol, col);
                maxCol = std::max(maxCol, col);
            }
        }
    }
    if (maxRow == 0) {
        return;
    }
    std::string ref = cellRef(minRow, minCol);
    if (minRow != maxRow || minCol != maxCol) {
        ref += ":" + cellRef(maxRow, maxCol);
    }
    dimension->SetAttribute("ref", ref.c_str());
}

bool fillSheet(std::string& xml, const std::vector<CellText>& cells, Message& error) {
    XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    if (doc.Parse(xml.data(), xml.size()) != tinyxml2::XML_SUCCESS) {
        error = Message::plain(doc.ErrorStr());
        return false;
    }
    XMLElement* worksheet = doc.RootElement();
    if (worksheet == nullptr || localName(worksheet->Name()) != "worksheet") {
        error = str::SheetNoWorksheet;
        return false;
    }
    XMLElement* sheetData = firstChild(worksheet, "sheetData");
    if (sheetData == nullptr) {
        error = str::SheetNoSheetData;
        return false;
    }
    if (!normalizeReferences(sheetData, error)) {
        return false;
    }
    for (const CellText& cell : cells) {
        if (cell.row < 1 || cell.row > kMaxRow || cell.column < 1 || cell.column > kMaxColumn) {
            error = str::SheetCellOutside;
            return false;
        }
        XMLElement* row = rowElement(doc, sheetData, cell.row);
        // A span hint that no longer covers the row's cells would only mislead readers.
        row->DeleteAttribute("spans");
        setInlineString(doc, cellElement(doc, row, cell.row, cell.column), cell.text);
    }
    updateDimension(worksheet, sheetData);
    tinyxml2::XMLPrinter printer(nullptr, true);
    doc.Print(&printer);
    xml.assign(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
    return true;
}

struct ZipCloser {
    void operator()(zip_t* za) const { zip_discard(za); }
};

bool readPart(zip_t* za, const std::string& name, std::string& out, zip_uint64_t& index,
              Message& error) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(za, name.c_str(), 0, &st) != 0 || (st.valid & ZIP_STAT_SIZE) == 0 ||
        (st.valid & ZIP_STAT_INDEX) == 0) {
        error = Message(str::PackagePartMissing, name);
        return false;
    }
    if (st.size > kMaxPartSize) {
        error = Message(str::PackagePartTooLarge, name);
        return false;
    }
    zip_file_t* f = zip_fopen_index(za, st.index, 0);
    if (f == nullptr) {
        error = Message(str::PackagePartUnopened, name, zip_strerror(za));
        return false;
    }
    out.assign(static_cast<std::size_t>(st.size), '\0');
    std::size_t got = 0;
    while (got < out.size()) {
        const zip_int64_t n = zip_fread(f, out.data() + got, out.size() - got);
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    const bool closed = zip_fclose(f) == 0; // also on a short read (damaged data)
    const bool ok = got == out.size() && closed;
    if (!ok) {
        error = Message(str::PackagePartUnread, name);
        return false;
    }
    index = st.index;
    return true;
}

std::string folderOf(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// Resolves a relationship target against the folder of its source part.
std::string resolveTarget(const std::string& folder, const std::string& target) {
    std::string joined = !target.empty() && target[0] == '/' ? target.substr(1) : folder + target;
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const std::size_t slash = std::min(joined.find('/', start), joined.size());
        const std::string seg = joined.substr(start, slash - start);
        if (seg == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!seg.empty() && seg != ".") {
            parts.push_back(seg);
        }
        start = slash + 1;
    }
    std::string out;
    for (const std::string& p : parts) {
        out += (out.empty() ? "" : "/") + p;
    }
    return out;
}

// Maps relationship ids of a .rels part to resolved part names.
bool readRelationships(zip_t* za, const std::string& relsPart, const std::string& sourceFolder,
                       std::map<std::string, std::pair<std::string, std::string>>& rels,
                       Message& error) {
    std::string xml;
    zip_uint64_t index = 0;
    if (!readPart(za, relsPart, xml, index, error)) {
        return false;
    }
    XMLDocument doc;
    if (doc.Parse(xml.data(), xml.size()) != tinyxml2::XML_SUCCESS ||
        doc.RootElement() == nullptr) {
        error = Message(str::PackagePartNotXml, relsPart);
        return false;
    }
    for (XMLElement* r = firstChild(doc.RootElement(), "Relationship"); r != nullptr;
         r = nextSibling(r, "Relationship")) {
        const char* id = r->Attribute("Id");
        const char* target = r->Attribute("Target");
        const char* type = r->Attribute("Type");
        if (id != nullptr && target != nullptr) {
            rels[id] = {resolveTarget(sourceFolder, target), type != nullptr ? type : ""};
        }
    }
    return true;
}

std::string relsPartOf(const std::string& part) {
    const std::string folder = folderOf(part);
    return folder + "_rels/" + part.substr(folder.size()) + ".rels";
}

bool sheetParts(zip_t* za, std::map<std::string, std::string>& byName, Message& error) {
    std::map<std::string, std::pair<std::string, std::string>> rootRels;
    if (!readRelationships(za, "_rels/.rels", "", rootRels, error)) {
        return false;
    }
    std::string workbookPart;
    for (const auto& [id, rel] : rootRels) {
        if (rel.second.size() >= 15 &&
            rel.second.compare(rel.second.size() - 15, 15, "/officeDocument") == 0) {
            workbookPart = rel.first;
        }
    }
    if (workbookPart.empty()) {
        error = str::PackageNoWorkbook;
        return false;
    }
    std::map<std::string, std::pair<std::string, std::string>> rels;
    if (!readRelationships(za, relsPartOf(workbookPart), folderOf(workbookPart), rels, error)) {
        return false;
    }
    std::string xml;
    zip_uint64_t index = 0;
    if (!readPart(za, workbookPart, xml, index, error)) {
        return false;
    }
    XMLDocument doc;
    if (doc.Parse(xml.data(), xml.size()) != tinyxml2::XML_SUCCESS ||
        doc.RootElement() == nullptr) {
        error = Message(str::PackagePartNotXml, workbookPart);
        return false;
    }
    XMLElement* sheets = firstChild(doc.RootElement(), "sheets");
    if (sheets == nullptr) {
        error = str::PackageNoSheets;
        return false;
    }
    for (XMLElement* s = firstChild(sheets, "sheet"); s != nullptr; s = nextSibling(s, "sheet")) {
        const char* name = s->Attribute("name");
        const char* rid = nullptr;
        for (const tinyxml2::XMLAttribute* a = s->FirstAttribute(); a != nullptr; a = a->Next()) {
            if (localName(a->Name()) == "id" && std::strchr(a->Name(), ':') != nullptr) {
                rid = a->Value();
            }
        }
        if (name != nullptr && rid != nullptr) {
            const auto it = rels.find(rid);
            if (it != rels.end()) {
                byName[name] = it->second.first;
            }
        }
    }
    return true;
}

bool sourceBytes(zip_source_t* src, std::string& out) {
    if (zip_source_open(src) < 0) {
        return false;
    }
    bool ok = zip_source_seek(src, 0, SEEK_END) == 0;
    const zip_int64_t size = ok ? zip_source_tell(src) : -1;
    ok = ok && size >= 0 && zip_source_seek(src, 0, SEEK_SET) == 0;
    if (ok) {
        out.assign(static_cast<std::size_t>(size), '\0');
        ok = zip_source_read(src, out.data(), static_cast<zip_uint64_t>(size)) == size;
    }
    zip_source_close(src);
    return ok;
}

} // namespace

bool readTemplateFile(const std::string& path, std::string& bytes, Message& error) {
    std::error_code ec;
    // A folder opens as a stream on some systems and then fails inside the read.
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = Message(
            std::filesystem::exists(path, ec) ? str::TemplateNotFile : str::TemplateMissing, path);
        return false;
    }
    return readWholeFile(path, bytes, error);
}

std::string columnLetters(int column) {
    if (column < 1 || column > kMaxColumn) {
        return {};
    }
    std::string s;
    for (int c = column; c > 0; c = (c - 1) / 26) {
        s.insert(s.begin(), static_cast<char>('A' + (c - 1) % 26));
    }
    return s;
}

bool blankWorkbookPackage(const std::vector<std::string>& sheetNames, std::string& out,
                          Message& error) {
    out.clear();
    std::map<std::string, std::string> parts;
    std::string types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/"
        "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>";
    std::string sheets;
    std::string rels = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                       "<Relationships "
                       "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (std::size_t i = 0; i < sheetNames.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        types += "<Override PartName=\"/xl/worksheets/sheet" + n +
                 ".xml\" ContentType=\"application/"
                 "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
        std::string name;
        for (const char ch : sheetNames[i]) {
            name += ch == '&'   ? "&amp;"
                    : ch == '<' ? "&lt;"
                    : ch == '"' ? "&quot;"
                                : std::string(1, ch);
        }
        sheets += "<sheet name=\"";
        sheets += name;
        sheets += "\" sheetId=\"";
        sheets += n;
        sheets += "\" r:id=\"rId";
        sheets += n;
        sheets += "\"/>";
        rels += "<Relationship Id=\"rId";
        rels += n;
        rels += "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                "worksheet\" Target=\"worksheets/sheet";
        rels += n;
        rels += ".xml\"/>";
        parts["xl/worksheets/sheet" + n + ".xml"] =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
            "<sheetData/></worksheet>";
    }
    parts["[Content_Types].xml"] = types + "</Types>";
    parts["_rels/.rels"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    parts["xl/workbook.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<sheets>" +
        sheets + "</sheets></workbook>";
    parts["xl/_rels/workbook.xml.rels"] = rels + "</Relationships>";

    zip_error_t zerr;
    zip_error_init(&zerr);
    zip_source_t* src = zip_source_buffer_create(nullptr, 0, 0, &zerr);
    zip_t* za = src == nullptr ? nullptr : zip_open_from_source(src, ZIP_TRUNCATE, &zerr);
    if (za == nullptr) {
        error = Message(str::PackageWriteFailed, zip_error_strerror(&zerr));
        zip_error_fini(&zerr);
        zip_source_free(src);
        return false;
    }
    zip_error_fini(&zerr);
    zip_source_keep(src);
    for (const auto& [name, text] : parts) {
        zip_source_t* part = zip_source_buffer(za, text.data(), text.size(), 0);
        if (part == nullptr || zip_file_add(za, name.c_str(), part, ZIP_FL_ENC_UTF_8) < 0) {
            error = Message(str::PackageWriteFailed, zip_strerror(za));
            zip_source_free(part);
            zip_discard(za);
            zip_source_free(src);
            return false;
        }
    }
    if (zip_close(za) < 0) {
        error = Message(str::PackageWriteFailed, zip_strerror(za));
        zip_discard(za);
        zip_source_free(src);
        return false;
    }
    const bool ok = sourceBytes(src, out);
    zip_source_free(src);
    if (!ok) {
        out.clear();
        error = str::PackageRereadFailed;
    }
    return ok;
}

bool fillWorkbookPackage(std::string_view package, const std::vector<SheetCells>& sheets,
                         std::string& out, Message& error) {
    out.clear();
    zip_error_t zerr;
    zip_error_init(&zerr);
    // libzip may free the data it was given when it rewrites a small package in place, so it
    // gets a copy of its own, allocated the way it frees it.
    // An empty package has no data for libzip to own (it would not free it).
    void* data = package.empty() ? nullptr : std::malloc(package.size());
    if (data == nullptr && !package.empty()) {
        error = Message(str::PackageNotZip, std::string_view("out of memory"));
        return false;
    }
    if (data != nullptr) {
        std::memcpy(data, package.data(), package.size());
    }
    zip_source_t* src =
        zip_source_buffer_create(data, package.size(), data != nullptr ? 1 : 0, &zerr);
    if (src == nullptr) {
        std::free(data);
        error = Message::plain(zip_error_strerror(&zerr));
        zip_error_fini(&zerr);
        return false;
    }
    // The source owns `data` from here on and frees it with itself.
    // NOLINTNEXTLINE(clang-analyzer-unix.Malloc)
    std::unique_ptr<zip_t, ZipCloser> za(zip_open_from_source(src, 0, &zerr));
    if (za == nullptr) {
        error = Message(str::PackageNotZip, zip_error_strerror(&zerr));
        zip_error_fini(&zerr);
        zip_source_free(src);
        return false;
    }
    zip_error_fini(&zerr);
    // Our own reference: the written package is read back from the source after zip_close.
    zip_source_keep(src);

    std::map<std::string, std::string> parts;
    if (!sheetParts(za.get(), parts, error)) {
        zip_source_free(src);
        return false;
    }
    // Replacement buffers must live until the archive is written.
    std::list<std::string> buffers;
    for (const SheetCells& sheet : sheets) {
        const auto it = parts.find(sheet.sheetName);
        if (it == parts.end()) {
            error = Message(str::PackageSheetMissing, sheet.sheetName);
            zip_source_free(src);
            return false;
        }
        std::string& xml = buffers.emplace_back();
        zip_uint64_t index = 0;
        Message why;
        if (!readPart(za.get(), it->second, xml, index, error) ||
            !fillSheet(xml, sheet.cells, why)) {
            if (!why.empty()) {
                error = Message(str::PackageSheetBroken, sheet.sheetName, why);
            }
            zip_source_free(src);
            return false;
        }
        zip_source_t* part = zip_source_buffer(za.get(), xml.data(), xml.size(), 0);
        if (part == nullptr || zip_file_replace(za.get(), index, part, 0) < 0) {
            error = Message(str::PackageReplaceFailed, zip_strerror(za.get()));
            zip_source_free(part);
            zip_source_free(src);
            return false;
        }
    }
    if (zip_close(za.get()) < 0) {
        error = Message(str::PackageWriteFailed, zip_strerror(za.get()));
        zip_source_free(src);
        return false;
    }
    (void)za.release(); // zip_close freed it
    const bool ok = sourceBytes(src, out);
    zip_source_free(src);
    if (!ok) {
        out.clear();
        error = str::PackageRereadFailed;
    }
    return ok;
}

} // namespace torvane
