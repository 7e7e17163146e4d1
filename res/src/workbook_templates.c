/* Writes the template workbooks Template_Master.xlsx and Template_Slave.xlsx into the folder
 * given as the only argument. The export fills row 2 on; row 1 names the columns. */
#include <stdio.h>
#include <string.h>
#include <xlsxwriter.h>

struct column {
    const char* title;
    double width;
};

struct sheet {
    const char* name;
    const struct column* columns;
    int count;
};

#define COUNT(a) ((int)(sizeof(a) / sizeof((a)[0])))

static const struct column master_canopen[] = {
    {"Network", 11},
    {"Baud Rate", 11},
    {"Node ID", 9},
    {"SDO Timeout (10 ms)", 20},
    {"NMT Master", 12},
    {"TPDO Clear Time (10 ms)", 23},
    {"Start-up Delay (10 ms)", 22},
    {"SYNC Cycle (10 ms)", 19},
    {"Control and Status", 18},
    {"Error Control (10 ms)", 21},
    {"RPDO Cycle (ms)", 16},
    {"Output Data Processing", 22},
    {"SDO Cycle (ms)", 15},
    {"SDO Concurrent", 15},
    {"SDO Retries", 12},
    {"SDO Poll Delay (ms)", 19},
    {"Upload SDO Count", 17},
    {"Transmit PDO Count", 19},
    {"Download SDO Count", 19},
    {"Receive PDO Count", 18},
};

static const struct column slave_canopen[] = {
    {"Baud Rate", 11},
    {"Node ID", 9},
    {"RPDO Clear Time (10 ms)", 23},
    {"Start-up Delay (10 ms)", 22},
    {"Transmit PDO Count", 19},
    {"Receive PDO Count", 18},
};

static const struct column sdo[] = {
    {"Node Address", 14}, {"Index", 16},           {"Sub-index", 12},
    {"Bytes", 8},         {"Mapping Address", 17}, {"Description", 40},
};

static const struct column pdo[] = {
    {"Node Address", 14}, {"COB-ID", 14}, {"Bytes", 8}, {"Mapping Address", 17},
    {"Description", 40},
};

static const struct column profibus[] = {
    {"Network", 11},
    {"Buffer Size (bytes)", 52},
};

static int write_workbook(const char* path, const struct sheet* sheets, int count) {
    lxw_workbook_options options = {0};
    lxw_workbook* wb = workbook_new_opt(path, &options);
    if (wb == NULL) {
        return 1;
    }
    /* A fixed creation time keeps the generated files identical from build to build. */
    lxw_doc_properties props;
    memset(&props, 0, sizeof props);
    props.title = "Gateway configuration";
    props.created = 1704067200; /* 2024-01-01 */
    workbook_set_properties(wb, &props);

    lxw_format* header = workbook_add_format(wb);
    format_set_bold(header);
    format_set_bg_color(header, 0xD9E1F2);
    format_set_bottom(header, LXW_BORDER_THIN);
    format_set_text_wrap(header);
    format_set_align(header, LXW_ALIGN_VERTICAL_CENTER);

    lxw_format* body = workbook_add_format(wb);
    format_set_num_format(body, "@");

    for (int s = 0; s < count; ++s) {
        lxw_worksheet* ws = workbook_add_worksheet(wb, sheets[s].name);
        for (int c = 0; c < sheets[s].count; ++c) {
            worksheet_set_column(ws, (lxw_col_t)c, (lxw_col_t)c, sheets[s].columns[c].width, body);
            worksheet_write_string(ws, 0, (lxw_col_t)c, sheets[s].columns[c].title, header);
        }
        worksheet_set_row(ws, 0, 30, header);
        worksheet_freeze_panes(ws, 1, 0);
    }
    return workbook_close(wb) == LXW_NO_ERROR ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const struct sheet master[] = {
        {"CANopen", master_canopen, COUNT(master_canopen)},
        {"Upload SDO", sdo, COUNT(sdo)},
        {"Download SDO", sdo, COUNT(sdo)},
        {"TPDO", pdo, COUNT(pdo)},
        {"RPDO", pdo, COUNT(pdo)},
        {"Profibus", profibus, COUNT(profibus)},
    };
    const struct sheet slave[] = {
        {"CANopen", slave_canopen, COUNT(slave_canopen)},
        {"TPDO", pdo, COUNT(pdo)},
        {"RPDO", pdo, COUNT(pdo)},
        {"Profibus", profibus, COUNT(profibus)},
    };
    char path[4096];
    snprintf(path, sizeof path, "%s/Template_Master.xlsx", argv[1]);
    if (write_workbook(path, master, COUNT(master)) != 0) {
        fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    snprintf(path, sizeof path, "%s/Template_Slave.xlsx", argv[1]);
    if (write_workbook(path, slave, COUNT(slave)) != 0) {
        fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    return 0;
}
