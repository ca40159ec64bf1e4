#include "dashboard/ProjectPrinter.h"

#include "components/AppInfo.h"
#include "components/TextFile.h"
#include "dashboard/ProgressPage.h"
#include "model/DueStatus.h"
#include "model/ProgressSummary.h"
#include "model/TaskCounts.h"
#include "widgets/Fonts.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>

namespace {

const QColor Ink(0x00, 0x00, 0x00);
const QColor Muted(0x6E, 0x6E, 0x6E);
const QColor Warning(0xC0, 0x00, 0x00);
const QColor Done(0x00, 0xA0, 0x00);
const QColor Open(0x00, 0x60, 0xC0);
const QString Tick = QStringLiteral("\u2713");

// Grid cell of panel 1..8, row by row around the free centre.
QPoint cellOf(int panel)
{
    const int index = panel <= 4 ? panel - 1 : panel;
    return {index % 3, index / 3};
}

struct Goal
{
    const SubGoalRecord* record;
    TaskCounts counts;
    DueState state;
};

// Draws top to bottom in device units, starting a new page when a line would not fit.
class ReportPainter
{
public:
    ReportPainter(QPagedPaintDevice* device, QPainter& painter)
        : m_device(device), m_painter(painter), m_page(0, 0, device->width(), device->height()),
          m_unit(device->logicalDpiY() / 72.0), m_body(Fonts::verdana(10)),
          m_struck(Fonts::verdana(10)), m_heading(Fonts::trebuchet(14, true)),
          m_bodyMetrics(m_body, device), m_headingMetrics(m_heading, device)
    {
        m_struck.setStrikeOut(true);
    }

    bool ok() const { return m_ok; }

    void dashboard(const QString& mainGoal, const QList<Goal>& goals,
                   const ProgressSummary& summary)
    {
        const qreal gap = 8 * m_unit;
        const qreal w = (m_page.width() - 2 * gap) / 3;
        const qreal h = (m_page.height() - 2 * gap) / 3;
        const auto cell = [&](QPoint at) {
            return QRectF(at.x() * (w + gap), at.y() * (h + gap), w, h);
        };
        const qreal pad = 6 * m_unit;

        const QRectF centre = cell({1, 1});
        m_painter.setPen(QPen(Ink, 2 * m_unit));
        m_painter.drawRect(centre);
        QFont title = Fonts::trebuchet(16, true);
        m_painter.setFont(title);
        const QRectF inner = centre.adjusted(pad, pad, -pad, -pad);
        QRectF used;
        m_painter.drawText(inner, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, mainGoal,
                           &used);
        m_painter.setFont(Fonts::verdana(9));
        m_painter.drawText(
            inner.adjusted(0, used.height() + pad, 0, 0),
            Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
            summary.text().replace(QStringLiteral(" \u00B7 "), QStringLiteral("\n")));

        for (int i = 0; i < goals.size(); ++i)
            panel(cell(cellOf(i + 1)), goals[i], pad);
    }

    void section(const Goal& goal)
    {
        const qreal line = m_bodyMetrics.lineSpacing();
        // A heading at the foot of a page goes over with its first lines.
        if (m_y > 0 && m_y + m_headingMetrics.lineSpacing() + 3 * line > m_page.height())
            newPage();
        m_y += m_y > 0 ? line : 0;
        m_painter.setPen(Ink);
        m_painter.setFont(m_heading);
        wrapped(m_heading, m_headingMetrics, goal.record->name, 0);
        m_painter.setFont(m_body);
        wrapped(m_body, m_bodyMetrics, summaryLine(goal), 0);
        m_y += line / 2;

        const qreal indent = m_bodyMetrics.horizontalAdvance(Tick) * 1.8;
        bool struck = false;
        for (const QString& task : goal.record->tasks) {
            if (!TaskCounts::isTask(task))
                continue;
            const bool done = TaskCounts::isCompleted(task);
            if (done != struck) {
                struck = done;
                m_painter.setFont(done ? m_struck : m_body);
                m_painter.setPen(done ? Muted : Ink);
            }
            if (m_y + line > m_page.height())
                newPage();
            const qreal baseline = m_y + m_bodyMetrics.ascent();
            if (done) {
                m_painter.setFont(m_body);
                m_painter.drawText(QPointF(0, baseline), Tick);
                m_painter.setFont(m_struck);
            }
            wrapped(done ? m_struck : m_body, m_bodyMetrics, task, indent);
        }
        m_painter.setPen(Ink);
    }

    void newPage()
    {
        if (!m_device->newPage())
            m_ok = false;
        m_y = 0;
    }

private:
    void panel(const QRectF& box, const Goal& goal, qreal pad)
    {
        m_painter.setPen(QPen(Ink, m_unit));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(box);
        // The status light, as on the dashboard.
        const qreal light = 10 * m_unit;
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(goal.counts.allDone() ? Done : Open);
        m_painter.drawEllipse(QRectF(box.right() - pad - light, box.top() + pad, light, light));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.setPen(Ink);
        const QRectF inner = box.adjusted(pad, pad, -2 * pad - light, -pad);
        QRectF used;
        m_painter.setFont(Fonts::trebuchet(12, true));
        m_painter.drawText(inner, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                           goal.record->name, &used);
        QStringList lines = goal.counts.captions();
        if (!goal.record->due.isEmpty())
            lines.append(QStringLiteral("Due: ") + goal.record->due);
        m_painter.setFont(m_body);
        QRectF rest = inner.adjusted(0, used.height() + pad, 0, 0);
        m_painter.drawText(rest, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines.join(u'\n'),
                           &used);
        const QString status = DueStatus::statusWords(goal.counts, goal.state);
        if (!status.isEmpty()) {
            QFont bold = Fonts::verdana(10, true);
            m_painter.setFont(bold);
            // Red as a second signal; the words carry it on a black-and-white page.
            const bool late = goal.state == DueState::Overdue;
            m_painter.setPen(late ? Warning : Ink);
            m_painter.drawText(rest.adjusted(0, used.height() + pad / 2, 0, 0),
                               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                               late ? status.toUpper() : status);
            m_painter.setPen(Ink);
        }
    }

    static QString summaryLine(const Goal& goal)
    {
        const QString dot = QStringLiteral(" \u00B7 ");
        QString text = goal.counts.captions().join(dot);
        if (!goal.record->due.isEmpty())
            text += dot + QStringLiteral("Due: ") + goal.record->due;
        const QString status = DueStatus::statusWords(goal.counts, goal.state);
        if (!status.isEmpty())
            text += dot + status;
        return text;
    }

    // One line of text from the current position, broken over more lines (and pages) only
    // when it is wider than the page: most task lines fit, and measuring is cheaper than
    // laying out.
    void wrapped(const QFont& font, const QFontMetricsF& metrics, const QString& text, qreal indent)
    {
        const qreal width = m_page.width() - indent;
        if (metrics.horizontalAdvance(text) <= width) {
            if (m_y + metrics.lineSpacing() > m_page.height())
                newPage();
            m_painter.drawText(QPointF(indent, m_y + metrics.ascent()), text);
            m_y += metrics.lineSpacing();
            return;
        }
        QTextLayout layout(text, font, m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal y = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            if (m_y + line.height() > m_page.height())
                newPage();
            line.draw(&m_painter, QPointF(indent, m_y - line.y()));
            m_y += line.height();
        }
    }

    QPagedPaintDevice* m_device;
    QPainter& m_painter;
    QRectF m_page;
    qreal m_unit; // device units per point
    QFont m_body;
    QFont m_struck;
    QFont m_heading;
    QFontMetricsF m_bodyMetrics;
    QFontMetricsF m_headingMetrics;
    qreal m_y = 0;
    bool m_ok = true;
};

} // namespace

QPageSize::PageSizeId ProjectPrinter::pageSizeFor(const QLocale& locale)
{
    static const QStringList letter =
        QStringLiteral("US UM VI PR CA MX BZ GT SV HN NI CR PA DO CO VE CL PH").split(u' ');
    return letter.contains(QLocale::territoryToCode(locale.territory())) ? QPageSize::Letter
                                                                         : QPageSize::A4;
}

bool ProjectPrinter::paint(QPagedPaintDevice* device, const ProjectData& project, QDate today,
                           const QLocale& locale, const QList<HistoryRow>& history)
{
    QPainter painter;
    if (!painter.begin(device))
        return false;
    QList<Goal> goals;
    ProgressSummary summary;
    for (const SubGoalRecord& record : project.goals) {
        const TaskCounts counts = TaskCounts::ofLines(record.tasks);
        const DueState state = DueStatus::of(record.due, counts, today, locale);
        summary.add(counts, state);
        goals.append({&record, counts, state});
        if (goals.size() == ProjectData::MaxGoals)
            break;
    }
    ReportPainter report(device, painter);
    report.dashboard(project.name, goals, summary);
    if (!history.isEmpty()) {
        report.newPage();
        ProgressPage::draw(painter, device, project, history, today, locale);
    }
    if (!goals.isEmpty())
        report.newPage();
    for (const Goal& goal : goals)
        report.section(goal);
    return painter.end() && report.ok();
}

Result ProjectPrinter::exportPdf(const QString& path, const ProjectData& project, QDate today,
                                 const QLocale& locale, const QList<HistoryRow>& history)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(pageSizeFor(locale)));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(project.name);
        writer.setCreator(AppInfo::productName());
        if (!paint(&writer, project, today, locale, history))
            return Result::failure(QStringLiteral("the report could not be drawn"));
    }
    return TextFile::saveBytes(path, pdf.data(), TextFile::Access::Shared);
}
