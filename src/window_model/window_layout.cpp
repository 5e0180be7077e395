#include "window_model/window_layout.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace marnoq::window_model {
namespace {

using K = ControlKind;
using F = FontRole;
using A = Alignment;

constexpr std::string_view kListTip = "Doppelclick entfernt die selektierte Datei aus der Liste";
constexpr std::string_view kClearTip = "Entfernt alle Dateien aus der Liste";

// clang-format off
constexpr ControlLayout kMainControls[] = {
    {"Shape1", K::Frame, 120, 60, 7335, 3855, "", "", "", F::Control, A::Left, ""},
    {"Label2", K::Label, 300, 180, 5595, 195,
     "Zu verschlüsselnde Dateien in die Liste ziehen oder mit dem Button auswählen:", "", "",
     F::Control, A::Left, ""},
    {"Befehl2", K::PictureButton, 6840, 120, 435, 315, "", "Open", "Dateien auswählen",
     F::Control, A::Centre, "", "Dateien zum Verschlüsseln auswählen"},
    {"List1", K::FileList, 240, 480, 7035, 2160, "", kListTip, "Zu verschlüsselnde Dateien",
     F::List, A::Left, ""},
    {"Label5", K::Label, 6420, 2700, 480, 195, "", "", "", F::Control, A::Right, ""},
    {"Command5", K::Button, 7020, 2700, 255, 255, "C", kClearTip,
     "Liste der zu verschlüsselnden Dateien leeren", F::Control, A::Centre, ""},
    {"Label4(0)", K::Label, 720, 3000, 690, 195, "Passwort:", "", "", F::Control, A::Left, ""},
    {"Text3(0)", K::PasswordBox, 1560, 3000, 1835, 225, "", "", "Passwort zum Verschlüsseln",
     F::Control, A::Left, "", "Höchstens 32 Zeichen"},
    {"Label4(1)", K::Label, 420, 3300, 1035, 195, "Wiederholung:", "", "", F::Control, A::Left,
     ""},
    {"Text3(1)", K::PasswordBox, 1560, 3300, 1835, 225, "", "", "Wiederholung des Passworts",
     F::Control, A::Left, "", "Eingabetaste startet die Verschlüsselung"},
    {"Image1(0)", K::Picture, 3540, 3000, 480, 480, "", "", "Schlüssel", F::Control, A::Centre,
     ""},
    {"cmdEnc", K::Button, 4260, 3000, 2475, 675, "AES Encrypt", "Datei AES verschlüsseln",
     "Verschlüsseln", F::Control, A::Centre, ""},
    {"Picture1", K::Picture, 4380, 3075, 480, 480, "", "", "Geschlossenes Schloss", F::Control,
     A::Centre, "cmdEnc"},
    {"Shape2", K::Frame, 120, 4080, 7335, 3975, "", "", "", F::Control, A::Left, ""},
    {"Label3", K::Label, 300, 4200, 5565, 195,
     "Zu entschlüsselnde Dateien in die Liste ziehen oder mt dem Button auswählen:", "", "",
     F::Control, A::Left, ""},
    {"Command3", K::PictureButton, 6840, 4140, 435, 315, "", "Open", "Dateien auswählen",
     F::Control, A::Centre, "", "Dateien zum Entschlüsseln auswählen"},
    {"List2", K::FileList, 300, 4500, 6975, 2160, "", kListTip, "Zu entschlüsselnde Dateien",
     F::List, A::Left, ""},
    {"Label6", K::Label, 6375, 6720, 480, 195, "", "", "", F::Control, A::Right, ""},
    {"Command6", K::Button, 6960, 6720, 255, 255, "C", kClearTip,
     "Liste der zu entschlüsselnden Dateien leeren", F::Control, A::Centre, ""},
    {"Label4(2)", K::Label, 660, 7080, 690, 195, "Passwort:", "", "", F::Control, A::Left, ""},
    {"Text3(2)", K::PasswordBox, 1500, 7080, 1835, 225, "", "", "Passwort zum Entschlüsseln",
     F::Control, A::Left, "", "Eingabetaste startet die Entschlüsselung"},
    {"Command2", K::Button, 3000, 7380, 315, 255, "N", "Passwortdarstellung verdeckt/klar",
     "Passwörter zeigen oder verbergen", F::Control, A::Centre, ""},
    {"Image1(1)", K::Picture, 3540, 7020, 480, 480, "", "", "Schlüssel", F::Control, A::Centre,
     ""},
    {"cmdDec", K::Button, 4200, 7020, 2475, 675, "AES Decrypt", "Datei entschlüsseln",
     "Entschlüsseln", F::Control, A::Centre, ""},
    {"Picture2", K::Picture, 4380, 7110, 480, 480, "", "", "Offenes Schloss", F::Control,
     A::Centre, "cmdDec"},
    {"Option1(0)", K::OptionButton, 300, 7740, 1275, 195, "Originalname",
     "Die entschlüsselte Datei erhält den Originalnamen (wie vor der Verschlüsselung).", "",
     F::Control, A::Left, ""},
    {"Option1(1)", K::OptionButton, 1680, 7740, 1035, 195, "Suffix ->",
     "Der Dateiname der entschlüsselten Datei erhält einen Suffix.", "", F::Control, A::Left, ""},
    {"txtSuffix", K::TextBox, 2820, 7680, 495, 285, "-dec",
     "Diesen Suffix erhält der Dateiname der entschlüsselten Datei.", "Suffix", F::Control,
     A::Left, ""},
    {"Command4", K::PictureButton, 6360, 8100, 435, 315, "", "AES?", "Info", F::Control,
     A::Centre, "", "Erklärungen und Version des Programms zeigen"},
    {"Command1", K::PictureButton, 6900, 8100, 555, 315, "", "Beenden", "Beenden", F::Control,
     A::Centre, "", "Das Programm beenden"},
    {"dummy", K::Button, 60, 8220, 915, 195, "dummy", "", "Passwortdarstellung umgeschaltet",
     F::Control, A::Centre, ""},
    {"Line1", K::Line, -60, 8460, 7740, 0, "", "", "", F::Control, A::Left, ""},
    {"Label1", K::Label, 60, 8520, 7695, 255, "0 %", "", "", F::Control, A::Centre, ""},
};

constexpr ControlLayout kInfoControls[] = {
    {"Picture1", K::Panel, 0, 0, 8550, 915, "", "", "", F::Small, A::Left, ""},
    {"Label3", K::Label, 300, 120, 4755, 570, "AES256-Marnoq", "", "", F::Title, A::Left,
     "Picture1"},
    {"Label4", K::Label, 360, 660, 555, 195, "", "", "", F::Small, A::Left, "Picture1"},
    {"Label1", K::Label, 5160, 660, 3060, 195, "Dateiverschlüsselung mit AES-256", "", "",
     F::Small, A::Right, "Picture1"},
    {"Label2", K::Panel, 180, 1020, 8235, 7215, "", "", "", F::Small, A::Left, ""},
    {"Text1", K::TextArea, 360, 1140, 7935, 6915, "", "", "Erklärung", F::InfoText, A::Left,
     ""},
};
// clang-format on

constexpr std::string_view kTabOrder[] = {
    "List1",    "Text3(0)",   "Text3(1)",   "cmdEnc",    "List2",    "Text3(2)",
    "Command2", "Option1(0)", "Option1(1)", "txtSuffix", "cmdDec",   "Befehl2",
    "Command5", "Command3",   "Command6",   "Command4",  "Command1",
};

constexpr WindowLayout kMainWindow{"AES256-Marnoq", 7620, 8730, kMainControls};
constexpr WindowLayout kInfoWindow{"AES256-Marnoq - Info", 8550, 8370, kInfoControls};

}  // namespace

std::string_view descriptionOf(const ControlLayout& control) {
    return control.description.empty() ? control.toolTip : control.description;
}

FontFace fontOf(FontRole role) {
    switch (role) {
        case FontRole::List:
        case FontRole::InfoText:
            return {"Courier New", 8.25, false};
        case FontRole::Title:
            return {"Verdana", 24, false};
        case FontRole::Small:
            return {"Verdana", 8.25, false};
        case FontRole::Control:
            break;
    }
    return {"MS Sans Serif", 8.25, false};
}

FontFace windowFont() {
    return {"MS Sans Serif", 8.25, true};
}

const ControlLayout& WindowLayout::control(std::string_view name) const {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [name](const ControlLayout& c) { return c.name == name; });
    if (found == controls.end()) {
        throw std::out_of_range("no control " + std::string(name));
    }
    return *found;
}

const WindowLayout& mainWindowLayout() {
    return kMainWindow;
}
const WindowLayout& infoWindowLayout() {
    return kInfoWindow;
}

std::span<const std::string_view> mainTabOrder() {
    return kTabOrder;
}

double fittingScale(int windowWidth, int windowHeight, int screenWidth, int screenHeight) {
    if (windowWidth <= 0 || windowHeight <= 0 || screenWidth <= 0 || screenHeight <= 0) {
        return 1.0;
    }
    return std::min({1.0, static_cast<double>(screenWidth) / windowWidth,
                     static_cast<double>(screenHeight) / windowHeight});
}

Box grownToFit(Box box, Alignment alignment, int neededWidth) {
    const int missing = neededWidth - box.width;
    if (missing <= 0) {
        return box;
    }
    box.width = neededWidth;
    if (alignment == Alignment::Right) {
        box.left -= missing;
    } else if (alignment == Alignment::Centre) {
        box.left -= missing / 2;
    }
    return box;
}

}  // namespace marnoq::window_model
