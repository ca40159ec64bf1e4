#pragma once

#include <QDialog>

#include <functional>

// Version, licence and where projects are kept. Not modal: it asks nothing, so the main
// window stays usable while it is open.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    AboutDialog(const QString& projectsFolder, std::function<void()> openProjectsFolder,
                QWidget* parent = nullptr);
};
