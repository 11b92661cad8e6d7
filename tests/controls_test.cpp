#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "controls/control_table_json.h"
#include "controls/window_texts.h"
#include "test_text.h"

namespace versomat {
namespace {

using testing::utf8;

using Text = std::u16string;

const Text kDefaultSheet = u"w1=0.7\r\nw2 = 0.9\r\nw3=0.1\r\nw4=0.15\r\nw5=0.2\r\nw6=0.3\r\nw7=0.35\r\n"
                           u"w8=0.4\r\nw9=0.3\r\nw10=0.5\r\nw11=0.85\r\nw12=0.9\r\nw13=0.1\r\n";

// Each way a sheet can be unreadable, through the reader to what the user is
// told and which line is selected.
TEST(SheetRefusalHint, NamesWhatIsMissingAndALineThatExists)
{
    const Text twelveLines = kDefaultSheet.substr(0, kDefaultSheet.find(u"w13="));
    Text lostEquals = kDefaultSheet;
    lostEquals.replace(lostEquals.find(u"w5="), 3, u"w5 ");
    const Text w13Missing = u"Nicht übernommen: der 13. Wert (w13) fehlt (gefunden: 12 von 13 Werten).\r\n"
                            u"Nach Zeile 12 fehlt die Zeile „w13=0.1“.";
    const struct {
        const char* name;
        Text sheet;
        Text hint;
        int line;
    } cases[] = {
        {"no equals sign at all", u"w1 0.7\r\nw2 0.9\r\n",
         u"Nicht übernommen: das Blatt enthält kein „=“.\r\n"
         u"Jede Zeile braucht die Form „w1=0.7“, eine Zeile je Wert von w1 bis w13.",
         1},
        {"line break before the first equals sign", u"Werte\r\n" + kDefaultSheet,
         u"Nicht übernommen: Zeile 1 enthält kein „=“, so fehlt der 1. Wert (w1).\r\n"
         u"Die erste Zeile braucht die Form „w1=0.7“.",
         1},
        {"a line without equals sign in the middle", lostEquals,
         u"Nicht übernommen: Zeile 5 enthält kein „=“ (gefunden: 12 von 13 Werten).\r\n"
         u"Die Zeile braucht die Form „w5=0.2“.",
         5},
        {"twelve lines without final line break", twelveLines.substr(0, twelveLines.size() - 2), w13Missing, 12},
        {"twelve lines with final line break", twelveLines, w13Missing, 12},
        {"two values and blank lines", u"w1=1\r\nw2=2\r\n\r\n \r\n",
         u"Nicht übernommen: die Werte w3 bis w13 fehlen (gefunden: 2 von 13 Werten).\r\n"
         u"Nach Zeile 2 fehlen die Zeilen „w3=0.1“ bis „w13=0.1“.",
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::variant<ProbabilityValues, SheetRefusal> reading = readProbabilitySheet(c.sheet);
        ASSERT_TRUE(std::holds_alternative<SheetRefusal>(reading));
        const SheetHint hint = sheetRefusalHint(c.sheet, std::get<SheetRefusal>(reading));
        EXPECT_EQ(utf8(hint.text), utf8(c.hint));
        EXPECT_EQ(hint.line, c.line);
    }
}

// The web page reads this; a row is compared with the layout as drawn
// (twips / 15) and the line break of a text must arrive escaped.
TEST(ControlTableJson, CarriesTheLayoutAsDrawn)
{
    const std::string json = controlTableJson();
    EXPECT_TRUE(json.starts_with(
        R"({"client":{"width":746,"height":757},"windowBackground":"#00c0c0","texts":{"acceptedMark":"OK",)"
        R"("acceptedMarkBackground":"#00ff00","refusedSheetBackground":"#ffc0c0"},"controls":[{"name":"Handelnde",)"))
        << json.substr(0, 300);
    EXPECT_NE(json.find(R"({"name":"Text1a","kind":"textbox","role":"mark","list":"actors","left":136,"top":344,)"
                        R"("width":49,"height":25,"text":"*","background":"#ff0000","font":{"face":"sans",)"
                        R"("points":13.5,"bold":false,"italic":false},"multiLine":false,"scrollBars":false,)"
                        R"("centred":true,"hidden":false,"onTop":false,"framed":false,)"
                        R"("accessibleName":"Handelnde: Status","help":"Noch nicht übernommen"},)"),
              std::string::npos);
    EXPECT_NE(json.find(R"("name":"Text5","kind":"textbox","role":"output","list":null,"left":8,"top":400,)"
                        R"("width":729,"height":329,"text":"noch leer\r\n","background":null,)"),
              std::string::npos);
    EXPECT_TRUE(json.ends_with(R"x(w13: Gedicht endet nach einer Zeile (größer: kürzere Gedichte)"}]})x"));
}

} // namespace
} // namespace versomat
