#include "controls/page_texts.h"

#include <array>

namespace versomat {
namespace {

constexpr std::array kTexts{
    // Shown at the first paint, written into index.html by the build.
    PageText{"description",
             u"Versomat schreibt kurze deutsche Zufallsgedichte aus vier eigenen Wortlisten – auch ohne Netz."},
    PageText{"unavailable", u"Versomat braucht JavaScript und WebAssembly."},
    PageText{"actions", u"Gedicht behalten"},
    PageText{"copy", u"Gedicht kopieren"},
    PageText{"print", u"Gedicht drucken"},
    PageText{"link", u"Link zum Gedicht teilen"},
    PageText{"lists", u"Wortlisten teilen"},
    PageText{"qr", u"QR-Code"},
    // What the actions answer.
    PageText{"copied", u"Das Gedicht ist in der Zwischenablage."},
    PageText{"notCopied", u"Kopieren ging nicht: bitte das Gedicht im Textfeld markieren und mit Strg+C kopieren."},
    PageText{"linkCopied", u"Der Link zum Gedicht ist in der Zwischenablage."},
    PageText{"linkShared", u"Der Link zum Gedicht ist geteilt."},
    PageText{"linkNotCopied", u"Kopieren ging nicht: der Link steht markiert im Feld, bitte mit Strg+C kopieren."},
    PageText{"linkField", u"Link zum Gedicht"},
    PageText{"noPoemToCopy", u"Noch kein Gedicht: erst ein Gedicht erzeugen, dann lässt es sich kopieren."},
    PageText{"noPoemToPrint", u"Noch kein Gedicht: erst ein Gedicht erzeugen, dann lässt es sich drucken."},
    PageText{"noPoemToLink", u"Noch kein Gedicht: erst ein Gedicht erzeugen, dann gibt es einen Link dazu."},
    PageText{"noListsToLink",
             u"Noch keine Wortlisten übernommen: erst alle vier Listen übernehmen, dann gibt es einen Link dazu."},
    PageText{"listsCopied", u"Der Link zu den Wortlisten ist in der Zwischenablage."},
    PageText{"listsShared", u"Die Wortlisten sind geteilt."},
    PageText{"listsField", u"Link zu den Wortlisten"},
    // Beside a link made in a page opened from disk that was built without
    // its public address.
    PageText{"localLink", u"Achtung: Diese Seite ist als Datei geöffnet, der Link öffnet sich nur auf diesem Rechner."},
    // The QR code of a link, shown large for a phone's camera, to be saved or
    // printed.
    PageText{"qrPoemTitle", u"QR-Code mit dem Link zum Gedicht"},
    PageText{"qrListsTitle", u"QR-Code mit dem Link zu den Wortlisten"},
    PageText{"qrSaveSvg", u"Als SVG speichern"},
    PageText{"qrSavePng", u"Als PNG speichern"},
    PageText{"qrPrint", u"Drucken"},
    PageText{"qrClose", u"Schließen"},
    PageText{"qrTooLong", u"Der Link ist zu lang für einen QR-Code: mit kürzeren Wortlisten wird er kürzer."},
    PageText{"qrNotLoaded", u"Der QR-Code ließ sich nicht laden; bitte die Seite neu laden und es noch einmal versuchen."},
    // A link that cannot be read.
    PageText{"badListsLink", u"Der Link zu den Wortlisten konnte nicht gelesen werden; Versomat beginnt wie gewohnt."},
    PageText{"badLink", u"Der Link zum Gedicht konnte nicht gelesen werden; Versomat beginnt wie gewohnt."},
};

} // namespace

std::span<const PageText> pageTexts()
{
    return kTexts;
}

} // namespace versomat
