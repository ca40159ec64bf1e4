#pragma once

#include "BenchData.h"

#include <map>

// Names shared by the benchmarks and the table of ratios.
namespace BenchName {
inline constexpr const char* KeyRelease = "key_release/editor_10000_lines";
inline constexpr const char* KeyReleaseBase = "key_release/base_qfile_write_and_split";
inline constexpr const char* KeyReleaseHighlighted = "key_release/editor_10000_lines_highlighted";
inline constexpr const char* TypeKey = "type_key/editor_10000_lines";
inline constexpr const char* TypeKeyHighlighted = "type_key/editor_10000_lines_highlighted";
inline constexpr const char* Read1 = "read/project_1x";
inline constexpr const char* Read2 = "read/project_2x";
inline constexpr const char* Read4 = "read/project_4x";
inline constexpr const char* ReadQSettings = "read/base_qsettings_every_value_1x";
inline constexpr const char* ReadFloor = "read/base_bytes_decode_split_1x";
inline constexpr const char* Save = "save/serialize_and_write_1x";
inline constexpr const char* SaveBase = "save/base_qfile_write_1x";
inline constexpr const char* SaveFsyncBase = "save/base_qfile_write_fsync_1x";
inline constexpr const char* Serialize = "save/serialize_only_1x";
inline constexpr const char* WriteOnly = "save/project_file_write_only_1x";
inline constexpr const char* Snapshot = "recovery/snapshot_write_1x";
inline constexpr const char* SnapshotBase = "recovery/base_qfile_write_1x";
inline constexpr const char* Fingerprint = "recovery/fingerprint_of_project_1x";
inline constexpr const char* FingerprintBase = "recovery/base_qfile_read_all_1x";
inline constexpr const char* Open1 = "open/main_window_1x";
inline constexpr const char* Open2 = "open/main_window_2x";
inline constexpr const char* ExportPdf = "export/pdf_1x";
inline constexpr const char* ExportMarkdown = "export/markdown_1x";
inline constexpr const char* ExportMarkdownBase = "export/base_qfile_write_markdown_1x";
inline constexpr const char* ShowMain = "show/main_window";
inline constexpr const char* ShowBare = "show/base_bare_qmainwindow";
inline constexpr const char* ShowStock = "show/stock_controls_qmainwindow";
} // namespace BenchName

// Sizes of the generated data.
namespace BenchSize {
inline constexpr int KeyReleaseLines = 10000;
inline constexpr int Goals = 8;
inline constexpr int TasksPerGoal = 5000;
} // namespace BenchSize

// Everything the benchmarks read, made once before the first one runs.
struct Fixture
{
    AppFolder folder;
    QString keyProjectPath;              // one sub-goal of KeyReleaseLines tasks
    std::map<int, ProjectData> projects; // by scale: 1, 2 and 4 times TasksPerGoal
    std::map<int, QString> projectPaths;
    int mainWindowWidgets = 0; // counted once, for the bare baseline
    qint64 historyBytes = -1;  // what the history keeps of 1,000 typed characters
    int historySteps = 0;

    Fixture();
    qint64 projectBytes(int scale) const;

private:
    void measureHistory(struct Window& window);
};

void registerBenchmarks(Fixture& fixture);
