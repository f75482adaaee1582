#pragma once

#include <QString>

// Shows a text file in the desktop's viewer for plain text.
class TextViewer
{
public:
    virtual ~TextViewer() = default;
    // False, with *error saying what to do, when the desktop has no viewer for text files.
    virtual bool open(const QString& path, QString* error) = 0;
};

// The desktop's default application for text/plain, started with the file as its one argument
// (through xdg-open, never a shell).
class DesktopTextViewer : public TextViewer
{
public:
    bool open(const QString& path, QString* error) override;
};
