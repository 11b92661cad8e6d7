// Writes the control table as tab-separated UTF-8 text for the scripts that
// drive the real window (they are bash and python and cannot read C++):
//   name kind role list left top width height accessibleName caption hiddenAtStart
// with the geometry in pixels. Usage: versomat_control_table OUTPUT_FILE

#include <cstdio>
#include <fstream>
#include <string>

#include "controls/control_table.h"
#include "runtime/utf8.h"

namespace {

using namespace versomat;

// Captions hold no tabs; their line breaks are written as "\n" escapes.
std::string oneField(std::u16string_view text)
{
    const std::string utf8 = toUtf8(text);
    std::string field;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
            continue;
        if (utf8[i] == '\n')
            field += "\\n";
        else
            field += utf8[i];
    }
    return field;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: versomat_control_table OUTPUT_FILE\n", stderr);
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    if (!out) {
        std::fprintf(stderr, "versomat_control_table: cannot write %s\n", argv[1]);
        return 1;
    }
    out << "name\tkind\trole\tlist\tleft\ttop\twidth\theight\taccessibleName\tcaption\thiddenAtStart\n";
    for (const ControlRow& row : controlTable()) {
        const PixelRect at = pixelRect(row.twips);
        out << toUtf8(row.objectName) << '\t' << kindName(row.kind) << '\t' << roleName(row.role) << '\t'
            << (row.list ? listName(*row.list) : "-") << '\t' << at.left << '\t' << at.top << '\t' << at.width << '\t'
            << at.height << '\t' << toUtf8(row.accessibleName) << '\t' << oneField(row.text) << '\t'
            << ((row.settings & kHiddenAtStart) ? 1 : 0) << '\n';
    }
    out.flush();
    return out ? 0 : 1;
}
