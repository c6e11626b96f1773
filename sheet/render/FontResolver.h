// Fonts for cell text: the installed face that stands in for a workbook's font name, sized in
// pixels from points at 96 dpi so that a picture never depends on the screen it is made on.
#pragma once

#include "sheet/model/CellFormat.h"

#include <QFont>
#include <QString>

#include <string>
#include <thread>
#include <vector>

namespace sheet::render {

// The installed family to draw a font name with: the name itself when installed, else the first
// installed of its known stand-ins ("Century Gothic": "URW Gothic"; "Arial": "Liberation Sans"),
// else the name, left to the system's own fallback. Looked up once per name in a run.
QString installedFamily(const QString& requested);

// The font a cell with this font is drawn in.
QFont cellFont(const sheet::Font& font);

// Gets the fonts ready on a thread of its own: reading the system's font configuration and listing
// the installed faces takes a first picture or page several milliseconds, and finding the stand-in
// of a font that is not installed a few more, which a command can spend while it still builds its
// sheet. The default cell font and the fonts named are made ready. Painting meanwhile simply waits
// for it. Needs a QGuiApplication; the destructor waits for the thread.
class FontWarmUp {
public:
    explicit FontWarmUp(std::vector<std::string> fontNames = {});
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread thread_;
};

}  // namespace sheet::render
