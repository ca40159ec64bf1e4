#include "app/EditActions.h"

#include "model/Project.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>

EditActions::EditActions(QMenu* edit, const Project& project, std::function<void()> markDone)
    : QObject(edit)
{
    const auto add = [this, edit](const char* name, const QString& caption,
                                  QKeySequence::StandardKey key, const char* slot) {
        QAction* action = edit->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcuts(key);
        connect(action, &QAction::triggered, this, [this, slot] { run(slot); });
        return action;
    };
    edit->addSeparator();
    m_cut = add("mnuCut", QStringLiteral("Cut"), QKeySequence::Cut, "cut");
    m_copy = add("mnuCopy", QStringLiteral("Copy"), QKeySequence::Copy, "copy");
    m_paste = add("mnuPaste", QStringLiteral("Paste"), QKeySequence::Paste, "paste");
    m_selectAll =
        add("mnuSelectAll", QStringLiteral("Select All"), QKeySequence::SelectAll, "selectAll");
    edit->addSeparator();
    QAction* done = edit->addAction(QStringLiteral("Mark Done"));
    done->setObjectName(QStringLiteral("mnuMarkDone"));
    done->setShortcut(Qt::CTRL | Qt::Key_D);
    done->setEnabled(false);
    connect(done, &QAction::triggered, this, std::move(markDone));
    connect(&project, &Project::selectionChanged, done,
            [&project, done] { done->setEnabled(project.selected() > 0); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &EditActions::update);
    follow(QApplication::focusWidget());
}

void EditActions::follow(QWidget* focused)
{
    // The menu itself takes no focus, so a box keeps its place while the menu is open.
    if (!qobject_cast<QLineEdit*>(focused) && !qobject_cast<QPlainTextEdit*>(focused))
        focused = nullptr;
    if (focused == m_box)
        return update();
    disconnect(m_selection);
    disconnect(m_text);
    m_box = focused;
    if (auto* line = qobject_cast<QLineEdit*>(focused)) {
        m_selection = connect(line, &QLineEdit::selectionChanged, this, &EditActions::update);
        m_text = connect(line, &QLineEdit::textChanged, this, &EditActions::update);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(focused)) {
        m_selection = connect(text, &QPlainTextEdit::selectionChanged, this, &EditActions::update);
        m_text = connect(text, &QPlainTextEdit::textChanged, this, &EditActions::update);
    }
    update();
}

void EditActions::update()
{
    bool selected = false;
    bool editable = false;
    bool empty = true;
    if (auto* line = qobject_cast<QLineEdit*>(m_box.data())) {
        selected = line->hasSelectedText() && line->echoMode() == QLineEdit::Normal;
        editable = !line->isReadOnly() && line->isEnabled();
        empty = line->text().isEmpty();
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(m_box.data())) {
        selected = text->textCursor().hasSelection();
        editable = !text->isReadOnly() && text->isEnabled();
        empty = text->document()->isEmpty();
    }
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    m_cut->setEnabled(selected && editable);
    m_copy->setEnabled(selected);
    m_paste->setEnabled(editable && clip && clip->hasText());
    m_selectAll->setEnabled(!empty);
}

void EditActions::run(const char* slot)
{
    if (m_box)
        QMetaObject::invokeMethod(m_box, slot);
}
