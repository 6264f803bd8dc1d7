#include "Doklady.h"
#include "FailureHandler.h"
#include "FbClient.h"
#include "Filmy.h"
#include "Inventura.h"
#include "Nastaveni.h"
#include "Program.h"
#include "Pujcky.h"
#include "Trzba.h"
#include "Uzaverka.h"
#include "Zakaznici.h"

int main(int argc, char** argv) {
    TCinemonApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    InstallQtTranslations();

    TDeskFactories desks;
    desks[TMenuButton::Pujcky] = MakeDesk<TFPujcky>;
    desks[TMenuButton::Zakaznici] = MakeDesk<TFZakaznici>;
    desks[TMenuButton::Filmy] = MakeDesk<TFFilmy>;
    desks[TMenuButton::Trzba] = MakeDesk<TFTrzba>;
    desks[TMenuButton::Uzaverka] = MakeDesk<TFUzaverka>;
    desks[TMenuButton::Doklady] = MakeDesk<TFDoklady>;
    desks[TMenuButton::Inventura] = MakeDesk<TFInventura>;
    desks[TMenuButton::Nastaveni] = MakeDesk<TFNastaveni>;

    auto program = StartProgram(QCoreApplication::applicationFilePath(), std::move(desks), TStartupEnv{},
                                [] { return FbClient::Load(); });
    if (!program)
        return 1;
    return RunProgram(*program);
}
