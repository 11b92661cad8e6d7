// Writes the control table as tab-separated text for the scripts that drive
// the real window (they are bash and python and cannot read C++):
//   name kind role list left top width height accessibleName caption hiddenAtStart
// with the geometry in pixels. Usage: versomat_control_table OUTPUT_FILE

#include <QFile>
#include <QString>
#include <QTextStream>

#include <cstdio>

#include "control_table.h"
#include "core_text.h"

namespace {

using namespace versomat;

const char* kindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label: return "label";
    case ControlKind::Button: return "button";
    case ControlKind::TextBox: return "textbox";
    }
    return "?";
}

const char* roleName(ControlRole role)
{
    switch (role) {
    case ControlRole::Header: return "header";
    case ControlRole::Example: return "example";
    case ControlRole::ListBox: return "box";
    case ControlRole::Accept: return "accept";
    case ControlRole::Mark: return "mark";
    case ControlRole::Generate: return "generate";
    case ControlRole::RandomStart: return "random";
    case ControlRole::Output: return "output";
    case ControlRole::Credit: return "credit";
    case ControlRole::Sheet: return "sheet";
    case ControlRole::SheetAccept: return "sheetAccept";
    case ControlRole::SheetShow: return "sheetShow";
    }
    return "?";
}

const char* listName(std::optional<WordListKind> list)
{
    if (!list)
        return "-";
    switch (*list) {
    case WordListKind::Actors: return "actors";
    case WordListKind::Objects: return "objects";
    case WordListKind::Verbs: return "verbs";
    case WordListKind::Adjectives: return "adjectives";
    }
    return "?";
}

// Captions hold no tabs; their line breaks are written as "\n" escapes.
QString oneField(const QString& text)
{
    return QString(text).replace(u'\n', QStringLiteral("\\n"));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: versomat_control_table OUTPUT_FILE\n", stderr);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "versomat_control_table: cannot write %s\n", argv[1]);
        return 1;
    }
    QTextStream out(&file);
    out << "name\tkind\trole\tlist\tleft\ttop\twidth\theight\taccessibleName\tcaption\thiddenAtStart\n";
    for (const ControlRow& row : controlTable()) {
        const QRect rect = pixelRect(row.twips);
        out << row.objectName.toString() << '\t' << kindName(row.kind) << '\t' << roleName(row.role) << '\t'
            << listName(row.list) << '\t' << rect.left() << '\t' << rect.top() << '\t' << rect.width() << '\t'
            << rect.height() << '\t' << row.accessibleName.toString() << '\t' << oneField(toQtText(row.text)) << '\t'
            << ((row.settings & kHiddenAtStart) ? 1 : 0) << '\n';
    }
    return out.status() == QTextStream::Ok && file.flush() ? 0 : 1;
}
