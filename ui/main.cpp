#include <QApplication>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "display_check.h"
#include "translations.h"
#include "versomat.h"

int main(int argc, char** argv)
{
    const std::unique_ptr<QApplication> app = versomat::applicationOnADisplay(argc, argv, std::getenv);
    if (!app) {
        std::fputs("versomat: no display found - start it on a desktop, or headless with: xvfb-run versomat\n", stderr);
        return EXIT_FAILURE;
    }
    // The desktop entry is named after the AppStream id, which the build passes in.
    QGuiApplication::setDesktopFileName(QStringLiteral(VERSOMAT_APP_ID));
    versomat::installGermanTranslations();
    // Fusion honours the palette colours of the labels and text boxes, which
    // some desktop styles replace with their own.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    versomat::Versomat window;
    window.show();
    return app->exec();
}
