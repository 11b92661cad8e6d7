#include "core_text.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace versomat {

QString toQtText(std::u16string_view coreText)
{
    QString text = QString::fromUtf16(coreText.data(), static_cast<qsizetype>(coreText.size()));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

std::u16string toCoreText(const QString& qtText)
{
    std::u16string text;
    text.reserve(static_cast<std::size_t>(qtText.size()) + qtText.count(u'\n'));
    for (qsizetype i = 0; i < qtText.size(); ++i) {
        const char16_t c = qtText.at(i).unicode();
        switch (c) {
        case u'\r':
            if (i + 1 < qtText.size() && qtText.at(i + 1) == u'\n')
                ++i;
            [[fallthrough]];
        case u'\n':
        case u'\u2028':
        case u'\u2029': text += u"\r\n"; break;
        default: text += c;
        }
    }
    return text;
}

std::u16string readText(const QPlainTextEdit* box)
{
    return toCoreText(box->document()->toRawText());
}

void showText(QPlainTextEdit* box, std::u16string_view coreText)
{
    box->setPlainText(toQtText(coreText));
}

} // namespace versomat
