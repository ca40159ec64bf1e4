#include "dialogs/AboutDialog.h"

#include "components/AppInfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(const QString& projectsFolder, std::function<void()> openProjectsFolder,
                         QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Aimwell"));

    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("lblAbout"));
    text->setTextFormat(Qt::PlainText);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setWordWrap(true);
    text->setMinimumWidth(420);
    text->setText(QStringLiteral("%1\nVersion %2\n\n"
                                 "A planner for one goal at a time.\n"
                                 "Free software under the GNU General Public License, version 3 or "
                                 "later. It comes with no warranty.\n\n"
                                 "Projects are kept in:\n%3")
                      .arg(AppInfo::productName(), AppInfo::version(), projectsFolder));

    auto* open = new QPushButton(QStringLiteral("Open Projects Folder"), this);
    open->setObjectName(QStringLiteral("cmdOpenProjects"));
    // It has the focus first; Enter must still close the window.
    open->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(open, &QPushButton::clicked, this, std::move(openProjectsFolder));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}
