#pragma once

#include <QString>

// Opens a compiled HTML help file (CHM) at its default topic.
class HelpViewer
{
public:
    virtual ~HelpViewer() = default;
    // False when this desktop has no CHM viewer, or it could not be started.
    virtual bool open(const QString& chmPath) = 0;
};

// The first CHM viewer installed on this desktop (xchm, kchmviewer), started apart from Nimbrel with the
// file as its one argument.
class DesktopHelpViewer : public HelpViewer
{
public:
    bool open(const QString& chmPath) override;
};
