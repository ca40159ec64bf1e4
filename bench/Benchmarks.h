#pragma once

#include "BenchData.h"

#include <benchmark/benchmark.h>

#include <optional>

#include <QFont>
#include <QKeySequence>
#include <QList>
#include <QPalette>
#include <QPixmap>
#include <QRect>

// Names shared by the benchmarks and the table of ratios.
namespace BenchName {
inline constexpr const char* KeyReleaseBase = "key_release/base_qfile_write_and_split";
inline constexpr const char* TypeKeyHighlighted = "type_key/editor_10000_lines_highlighted";
inline constexpr const char* Read1 = "read/project_1x";
inline constexpr const char* Save = "save/serialize_and_write_1x";
inline constexpr const char* SaveBase = "save/base_qfile_write_1x";
inline constexpr const char* Snapshot = "recovery/snapshot_write_1x";
inline constexpr const char* SnapshotBase = "recovery/base_qfile_write_1x";
inline constexpr const char* Open1 = "open/main_window_1x";
inline constexpr const char* ExportPdf = "export/pdf_1x";
inline constexpr const char* ExportMarkdown = "export/markdown_1x";
inline constexpr const char* ExportMarkdownBase = "export/base_qfile_write_markdown_1x";
inline constexpr const char* ShowMain = "show/main_window";
inline constexpr const char* ShowStock = "show/stock_controls_qmainwindow";
} // namespace BenchName

// Sizes of the generated data.
namespace BenchSize {
inline constexpr int KeyReleaseLines = 10000;
inline constexpr int Goals = 8;
inline constexpr int TasksPerGoal = 5000;
} // namespace BenchSize

// One control of the main window as the stock Qt class it is made from, for the baseline.
struct StockControl
{
    QByteArray stockClass;
    int parent = -1; // index of the control it sits in; -1 for the client area
    QRect geometry;
    bool hidden = false;
    QString text;
    std::optional<QFont> font;       // when set on the control itself
    std::optional<QPalette> palette; // likewise
    bool autoFill = false;
    // A label's.
    bool wordWrap = false;
    Qt::Alignment alignment;
    QPixmap pixmap;
    int frameShape = 0; // a frame's, a label's or a scroll area's
    Qt::ScrollBarPolicy horizontalBar = Qt::ScrollBarAsNeeded, verticalBar = Qt::ScrollBarAsNeeded;
};

// Everything the benchmarks read, made once before the first one runs.
struct Fixture
{
    AppFolder folder;
    QString keyProjectPath; // one sub-goal of KeyReleaseLines tasks
    ProjectData project;    // Goals x TasksPerGoal
    QString projectPath;
    int mainWindowWidgets = 0; // counted once; the stock baseline must match it
    // The main window's menus (for each, its items: a submenu, or an item's shortcuts) and its
    // other controls, for the stock baseline.
    QList<QList<std::optional<QList<QKeySequence>>>> menus;
    QList<StockControl> controls;
    QStringList statusTexts;
    qint64 historyBytes = -1; // what the history keeps of 1,000 typed characters
    int historySteps = 0;

    Fixture();
    qint64 projectBytes() const;

private:
    void measureHistory(struct Window& window);
};

void registerBenchmarks(Fixture& fixture);

// Registers a measurement with the settings every row of the ratio tables is read with.
template <typename Fn> void addMeasurement(const char* name, Fn fn)
{
    benchmark::RegisterBenchmark(name, fn)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(1.0)
        ->Repetitions(5)
        ->DisplayAggregatesOnly(true);
}
