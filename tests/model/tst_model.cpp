#include "app/ProjectCommands.h"
#include "model/Project.h"
#include "model/TextDiff.h"
#include "storage/TaskStore.h"
#include "support/CoreSupport.h"

#include <QUndoStack>

namespace {

// A project on a temporary task folder, with a history as the window keeps it.
struct Model
{
    QTemporaryDir dir;
    TaskStore store{dir.filePath(u"tmp"_s)};
    FakeRandom random;
    Project project{store, random};
    QUndoStack history;
    QSignalSpy selected{&project, &Project::selectionChanged};
    QSignalSpy results{&project, &Project::taskFileResult};

    Model() { QObject::connect(&history, &QUndoStack::cleanChanged, &project, &Project::setClean); }
};

} // namespace

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void textDiffs_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("middle");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("merges");
        QTest::newRow("typing, deleting before")
            << u"ab\ncd"_s << u"ab\nXcd"_s << u"ab\ncd"_s << true;
        QTest::newRow("replacing") << u"one two"_s << u"one 2"_s << u"one 2!"_s << true;
        QTest::newRow("far apart")
            << u"a........b"_s << u"aX........b"_s << u"aX........bY"_s << false;
        QTest::newRow("repeated letters") << u"aaaa"_s << u"aaaaa"_s << u"aaaaaa"_s << true;
        QTest::newRow("in front of a repeat") << u"bob"_s << u"abob"_s << u"abbob"_s << true;
        QTest::newRow("backspacing into a repeat") << u"xaab"_s << u"xab"_s << u"ab"_s << true;
        QTest::newRow("reaching past a change") << u"abcdef"_s << u"abXef"_s << u"abYf"_s << true;
        QTest::newRow("pasting lines")
            << u"a\nb"_s << u"a\nx --\ny --\nb"_s << u"a\nx --\ny --\nb --"_s << false;
        QTest::newRow("joining done lines")
            << u"a -\n- b\nc --"_s << u"a -- b\nc --"_s << u"a -- b\n\nc --"_s << false;
        const QString page(1500, u'x'); // longer than the blocks compared whole
        QTest::newRow("long list")
            << page + u"ab"_s + page << page + u"aXb"_s + page << page + u"aXYb"_s + page << true;
        QTest::newRow("long repeat") << page << page + u'x' << u"y"_s + page + u'x' << true;
    }
    // Each change turns its text into the next and back; two that touch become one change
    // that does both.
    void textDiffs()
    {
        QFETCH(QString, from);
        QFETCH(QString, middle);
        QFETCH(QString, to);
        QFETCH(bool, merges);
        TextDiff first = TextDiff::between(from, middle);
        const TextDiff second = TextDiff::between(middle, to);
        const auto apply = [](const QString& text, const TextDiff& d, bool forwards) {
            const QString& gone = forwards ? d.before : d.after;
            const QString& come = forwards ? d.after : d.before;
            const QString result = QString(text).replace(d.position, gone.size(), come);
            // Counting again only the lines the change touches gives the full count.
            const TaskCounts counts =
                TaskCounts::of(text).changed(text, result, d.position, gone.size(), come.size());
            return counts == TaskCounts::of(result) ? result : u"(miscounted)"_s;
        };
        QCOMPARE(apply(from, first, true), middle);
        QCOMPARE(apply(to, second, false), middle);
        QCOMPARE(first.absorb(second), merges);
        QVERIFY(!merges || (apply(from, first, true) == to && apply(to, first, false) == from));
    }

    void loadDeleteAndSave()
    {
        Model m;
        ProjectData data{u"Plan"_s,
                         {{u"1-2-3"_s, u"A"_s, u"15 Mar 2026"_s, {u"a --"_s, u"b"_s}},
                          {u"1-2-3"_s, u"B"_s, {}, {u"c --"_s}},
                          {u"4-5-6"_s, u"C"_s, u"1/2/2027"_s, {}}}};
        QSignalSpy resets(&m.project, &Project::goalsReset);
        QSignalSpy names(&m.project, &Project::nameChanged);
        QSignalSpy files(&m.project, &Project::fileChanged);
        QVERIFY(m.project.load(u"/p/Plan.gpj"_s, data).isEmpty());
        // One load is one reset: each signal once.
        for (const QSignalSpy* spy : {&resets, &names, &files, &m.selected})
            QCOMPARE(spy->size(), 1);
        // A key used twice gets a fresh one, so the two never share a task file.
        QVERIFY(m.project.goal(2).key != u"1-2-3"_s);
        QVERIFY(m.project.totals().total == 3 && m.project.totals().completed == 2);
        QCOMPARE(m.project.tasks(1), u"a --\nb\n"_s);
        data.goals[1].key = m.project.goal(2).key;
        QCOMPARE(m.project.toProjectData().value, data);
        // Deleting re-packs in order: the key and date move with their sub-goal; its file goes.
        QSignalSpy removed(&m.project, &Project::goalRemoved);
        const SubGoalRecord third = m.project.goal(3);
        m.project.select(2);
        m.project.removeGoal(2);
        QVERIFY(m.project.goal(2) == third && m.project.goalNames().size() == 2);
        QVERIFY(m.project.selectedKey().isEmpty() &&
                !QFile::exists(m.store.path(data.goals[1].key)));
        QCOMPARE(removed.takeFirst().at(0).toInt(), 2);
        // A task file that cannot be read stops the save rather than losing its tasks.
        QFile::remove(m.store.path(u"4-5-6"_s));
        QDir().mkpath(m.store.path(u"4-5-6"_s));
        QVERIFY(!m.project.toProjectData().ok());
        // Text whose write failed keeps its key from being drawn again, though no file is there.
        TaskStore blocked(m.store.path(m.project.goal(1).key)); // a file where the folder is
        QVERIFY(!blocked.save(u"1-2-3"_s, u"x"_s).ok() && blocked.isTaken(u"1-2-3"_s));
        // Unsaved while an edit has no step yet or the history is off its clean step; a clean
        // history or a new project ends both.
        QSignalSpy modified(&m.project, &Project::modifiedChanged);
        m.project.markEdited();
        m.project.markEdited();
        m.history.push(new ProjectNameCommand(m.project, u"New"_s, 1));
        m.history.setClean();
        m.history.undo();
        m.project.clear();
        QCOMPARE(modified, (QList<QList<QVariant>>{{true}, {false}, {true}, {false}}));
    }

    // Every kind of step undoes to the state before it and redoes to the state after it,
    // selecting the panel it changed.
    void everyStepUndoesAndRedoes()
    {
        Model m;
        const auto snapshot = [&m] {
            return std::pair(m.project.toProjectData().value, m.project.totals());
        };
        Project& p = m.project;
        const QList<std::tuple<const char*, std::function<ProjectCommand*()>, int>> steps{
            {"Add Sub-Goal", [&] { return new AddGoalCommand(p, u"C"_s); }, 0},
            {"Rename Sub-Goal", [&] { return new RenameGoalCommand(p, 2, u"Bee"_s); }, 2},
            {"Set Due Date", [&] { return new DueDateCommand(p, 2, u"1/2/2027"_s); }, 2},
            {"Clear Due Date", [&] { return new DueDateCommand(p, 1, QString()); }, 1},
            {"Change Due Date", [&] { return new DueDateCommand(p, 1, u"3/4/2027"_s); }, 1},
            {"Rename Main Goal", [&] { return new ProjectNameCommand(p, u"New"_s, 1); }, 0},
            {"Edit Tasks", [&] { return new TaskTextCommand(p, 2, u"b --\nmore"_s, 1); }, 2},
            {"Delete Sub-Goal", [&] { return new DeleteGoalCommand(p, 2); }, 2},
        };
        for (const auto& [text, make, panel] : steps) {
            m.history.clear();
            p.load({}, {u"Plan"_s,
                        {{u"1-1-1"_s, u"A"_s, u"1/1/2027"_s, {u"a"_s}},
                         {u"2-2-2"_s, u"B"_s, {}, {u"b --"_s, u"c"_s}}}});
            const auto before = snapshot();
            m.history.push(make());
            QCOMPARE(m.history.undoText(), QString::fromLatin1(text));
            const auto after = snapshot();
            QVERIFY2(after != before, text);
            m.selected.clear();
            m.history.undo();
            QVERIFY2(snapshot() == before, text);
            m.history.redo();
            QVERIFY2(snapshot() == after, text);
            QCOMPARE(m.selected.first().at(0).toInt(), panel);
        }
        for (const QList<QVariant>& result : m.results)
            QVERIFY2(result.at(1).toString().isEmpty(), qPrintable(result.at(1).toString()));
    }
};

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
