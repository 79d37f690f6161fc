#include "nimbdesk/location/clocationdlg.h"

#include "meteo/location/wlocationdb.h"
#include "settings/lsettings.h"
#include "settings/lwinkeeper.h"
#include "tests/support/review.h"
#include "tests/support/tempdir.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace corekit;
using namespace meteo;
using namespace settings;
using namespace nimbdesk;

namespace
{

// Identifiers of the committed location files.
constexpr std::uint32_t COLORADO = 8;
constexpr std::uint32_t CANON_CITY_CO = 811810;
constexpr std::uint32_t ILLINOIS = 17;
constexpr std::uint32_t SPRINGFIELD_IL = 1772000;
constexpr std::uint32_t TEXAS = 48;
constexpr std::uint32_t IOWA = 19;
constexpr std::uint32_t DES_MOINES_IA = 1921000;
constexpr std::uint32_t MESQUITE_STARR_TX = 4847898;

const char *const PROMPT = "Please select state and city";

struct Place {
    std::uint32_t state = 0;
    std::uint32_t city = 0;
};

// The dialog on a keeper of its own directory, shown and active as a person would meet it.
class Fixture
{
public:
    Fixture() { open(); }

    void open()
    {
        dialog = std::make_unique<CLocationDlg>(&keeper);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    QListWidget *states() const { return child<QListWidget>("states"); }
    QListWidget *cities() const { return child<QListWidget>("cities"); }
    QLineEdit *stateFilter() const { return child<QLineEdit>("stateFilter"); }
    QLineEdit *cityFilter() const { return child<QLineEdit>("cityFilter"); }
    QLineEdit *search() const { return child<QLineEdit>("placeSearch"); }
    QListWidget *results() const { return child<QListWidget>("placeResults"); }
    QString selection() const { return dialog->findChild<QLabel *>(QStringLiteral("selection"))->text(); }
    QPushButton *ok() const { return buttons()->button(QDialogButtonBox::Ok); }
    QPushButton *cancel() const { return buttons()->button(QDialogButtonBox::Cancel); }

    void store(Place place)
    {
        keeper.SetInt(LSettings::LOCATION, LSettings::STATE, place.state, false);
        keeper.SetInt(LSettings::LOCATION, LSettings::CITY, place.city, false);
    }

    // The stored place; ids stay 0 for a value that is missing.
    Place stored()
    {
        Place place;
        keeper.GetInt(LSettings::LOCATION, LSettings::STATE, place.state, false);
        keeper.GetInt(LSettings::LOCATION, LSettings::CITY, place.city, false);
        return place;
    }

    nimbreltest::TempDir directory;
    LWinKeeper keeper{"Nimbrel", directory.path().string()};
    std::unique_ptr<CLocationDlg> dialog;

private:
    template<class T>
    T *child(const char *name) const
    {
        return dialog->findChild<T *>(QLatin1String(name));
    }
    QDialogButtonBox *buttons() const { return dialog->findChild<QDialogButtonBox *>(); }
};

QListWidgetItem *itemNamed(const QListWidget *list, const QString &name)
{
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

void pick(QListWidget *list, const QString &name)
{
    QListWidgetItem *item = itemNamed(list, name);
    QVERIFY2(item, qPrintable(name));
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

QString selectedName(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.size() == 1 ? selected.first()->text() : QString();
}

QStringList shownNames(const QListWidget *list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row) {
        if (!list->item(row)->isHidden())
            names << list->item(row)->text();
    }
    return names;
}

int cityCount(std::uint32_t state)
{
    LVector<WCity> cities;
    WLocationDB::getLocationDB().getCityList(1, state, cities);
    return static_cast<int>(cities.size());
}

bool isLocationStored(LWinKeeper &keeper)
{
    return keeper.Exists(LSettings::LOCATION, LSettings::STATE, false)
        || keeper.Exists(LSettings::LOCATION, LSettings::CITY, false);
}

} // namespace

class TestLocationDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void firstRunWithEmptyStore();
    void listsSortedAsPeopleRead();
    void reopeningSelectsStoredPlace();
    void storedPlaceNoLongerListed();
    void anotherStateAfterCity();
    void cancelStoresNothing();
    void filterBoxes();
    void filterKnowsShortWords();
    void keyboardAlone();
    void searchByZipCode();
    void searchByClickAmongNamesakes();
    void renderForReview();
};

void TestLocationDlg::initTestCase()
{
    WLocationDB::initLocationDB(NIMBREL_SOURCE_DIR "/data");
}

void TestLocationDlg::cleanupTestCase()
{
    WLocationDB::closeLocationDB();
}

void TestLocationDlg::firstRunWithEmptyStore()
{
    Fixture f;
    QCOMPARE(f.states()->count(), 52);
    QCOMPARE(f.states()->selectedItems().size(), 0);
    QCOMPARE(f.cities()->count(), 0);
    QCOMPARE(f.selection(), QString::fromLatin1(PROMPT));
    QVERIFY(!f.ok()->isEnabled());

    pick(f.states(), QStringLiteral("Illinois"));
    QCOMPARE(f.cities()->count(), cityCount(ILLINOIS));
    QCOMPARE(f.cities()->selectedItems().size(), 0);
    QVERIFY(!f.ok()->isEnabled());
    QCOMPARE(f.selection(), QString::fromLatin1(PROMPT));

    pick(f.cities(), QStringLiteral("Springfield"));
    QCOMPARE(f.selection(), QStringLiteral("Springfield, Illinois"));
    QVERIFY(f.ok()->isEnabled());
    QVERIFY(!isLocationStored(f.keeper));
    QTest::mouseClick(f.ok(), Qt::LeftButton);
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.stored().state, ILLINOIS);
    QCOMPARE(f.stored().city, SPRINGFIELD_IL);
}

// The files list Puerto Rico last and "Cañon City" between "Campo" and "Capulin"; a plain code-point sort would put
// it after "Capulin".
void TestLocationDlg::listsSortedAsPeopleRead()
{
    Fixture f;
    const QStringList states = shownNames(f.states());
    QCOMPARE(states.first(), QStringLiteral("Alabama"));
    QCOMPARE(states.last(), QStringLiteral("Wyoming"));
    QCOMPARE(states.indexOf(QStringLiteral("Puerto Rico")), states.indexOf(QStringLiteral("Pennsylvania")) + 1);
    QCOMPARE(states.indexOf(QStringLiteral("District of Columbia")), states.indexOf(QStringLiteral("Delaware")) + 1);

    pick(f.states(), QStringLiteral("Colorado"));
    const QStringList cities = shownNames(f.cities());
    const qsizetype canon = cities.indexOf(QStringLiteral("Cañon City"));
    QVERIFY(canon > 0);
    QCOMPARE(cities.at(canon - 1), QStringLiteral("Campo"));
    QCOMPARE(cities.at(canon + 1), QStringLiteral("Capulin"));

    pick(f.states(), QStringLiteral("Alaska"));
    QVERIFY(f.cities()->findItems(QStringLiteral("Utqiaġvik"), Qt::MatchExactly).size() == 1);
}

void TestLocationDlg::reopeningSelectsStoredPlace()
{
    Fixture f;
    f.store({COLORADO, CANON_CITY_CO});
    f.open();
    QCOMPARE(selectedName(f.states()), QStringLiteral("Colorado"));
    QCOMPARE(selectedName(f.cities()), QStringLiteral("Cañon City"));
    QCOMPARE(f.selection(), QStringLiteral("Cañon City, Colorado"));
    QVERIFY(f.ok()->isEnabled());

    // OK writes the numbers again: a store emptied in between gets them back.
    f.store({0, 0});
    QTest::mouseClick(f.ok(), Qt::LeftButton);
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.stored().state, COLORADO);
    QCOMPARE(f.stored().city, CANON_CITY_CO);
}

// A stored city the state does not list keeps its state but shows the prompt until a city is picked.
void TestLocationDlg::storedPlaceNoLongerListed()
{
    Fixture f;
    f.store({ILLINOIS, CANON_CITY_CO});
    f.open();
    QCOMPARE(selectedName(f.states()), QStringLiteral("Illinois"));
    QCOMPARE(f.cities()->count(), cityCount(ILLINOIS));
    QCOMPARE(f.cities()->selectedItems().size(), 0);
    QCOMPARE(f.selection(), QString::fromLatin1(PROMPT));
    QVERIFY(!f.ok()->isEnabled());

    f.store({99, SPRINGFIELD_IL});
    f.open();
    QCOMPARE(f.states()->selectedItems().size(), 0);
    QCOMPARE(f.cities()->count(), 0);
    QVERIFY(!f.ok()->isEnabled());
}

// Picking another state refills the cities with none selected; the text and OK keep the last city, and OK waits
// until a city of the new state is picked.
void TestLocationDlg::anotherStateAfterCity()
{
    Fixture f;
    pick(f.states(), QStringLiteral("Illinois"));
    pick(f.cities(), QStringLiteral("Springfield"));
    pick(f.states(), QStringLiteral("Texas"));
    QCOMPARE(f.cities()->count(), cityCount(TEXAS));
    QCOMPARE(f.cities()->selectedItems().size(), 0);
    QCOMPARE(f.selection(), QStringLiteral("Springfield, Illinois"));
    QVERIFY(f.ok()->isEnabled());

    QTest::mouseClick(f.ok(), Qt::LeftButton);
    QVERIFY(f.dialog->isVisible());
    QVERIFY(!isLocationStored(f.keeper));

    pick(f.cities(), QStringLiteral("Austin"));
    QCOMPARE(f.selection(), QStringLiteral("Austin, Texas"));
    QTest::mouseClick(f.ok(), Qt::LeftButton);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.stored().state, TEXAS);
}

void TestLocationDlg::cancelStoresNothing()
{
    Fixture f;
    pick(f.states(), QStringLiteral("Illinois"));
    pick(f.cities(), QStringLiteral("Springfield"));
    QTest::mouseClick(f.cancel(), Qt::LeftButton);
    QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    QVERIFY(!isLocationStored(f.keeper));

    f.store({COLORADO, CANON_CITY_CO});
    f.open();
    pick(f.states(), QStringLiteral("Illinois"));
    pick(f.cities(), QStringLiteral("Springfield"));
    QTest::keyClick(f.dialog.get(), Qt::Key_Escape);
    QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(f.stored().state, COLORADO);
    QCOMPARE(f.stored().city, CANON_CITY_CO);
}

// Filters match anywhere in the name, ignoring case and accents; a selection the filter hides stays selected.
void TestLocationDlg::filterBoxes()
{
    Fixture f;
    QTest::keyClicks(f.stateFilter(), QStringLiteral("new"));
    QCOMPARE(shownNames(f.states()), QStringList({"New Hampshire", "New Jersey", "New Mexico", "New York"}));
    f.stateFilter()->clear();
    QCOMPARE(shownNames(f.states()).size(), 52);

    pick(f.states(), QStringLiteral("Colorado"));
    QTest::keyClicks(f.cityFilter(), QStringLiteral("CANON"));
    QVERIFY(shownNames(f.cities()).contains(QStringLiteral("Cañon City")));
    for (const QString &name : shownNames(f.cities()))
        QVERIFY2(name.contains(QStringLiteral("anon"), Qt::CaseInsensitive)
                || name.contains(QStringLiteral("añon"), Qt::CaseInsensitive),
            qPrintable(name));

    pick(f.cities(), QStringLiteral("Cañon City"));
    QTest::keyClicks(f.cityFilter(), QStringLiteral("xyz"));
    QVERIFY(shownNames(f.cities()).isEmpty());
    QCOMPARE(selectedName(f.cities()), QStringLiteral("Cañon City"));

    // The city filter stays when the state changes and narrows the new state's list at once.
    f.cityFilter()->setText(QStringLiteral("springf"));
    pick(f.states(), QStringLiteral("Illinois"));
    QCOMPARE(shownNames(f.cities()), QStringList({"Springfield"}));
    QCOMPARE(f.cities()->count(), cityCount(ILLINOIS));
}

// The filter folds names as the place search does: "st louis" and "saint louis" both find "St. Louis", as they do
// in the search box above it.
void TestLocationDlg::filterKnowsShortWords()
{
    Fixture f;
    pick(f.states(), QStringLiteral("Missouri"));
    QTest::keyClicks(f.cityFilter(), QStringLiteral("st louis"));
    QCOMPARE(shownNames(f.cities()), QStringList({"Lake St. Louis", "St. Louis"}));
    f.cityFilter()->setText(QStringLiteral("Saint Louis"));
    QCOMPARE(shownNames(f.cities()), QStringList({"Lake St. Louis", "St. Louis"}));
    f.cityFilter()->setText(QStringLiteral("sainte genevieve"));
    QCOMPARE(shownNames(f.cities()), QStringList({"Ste. Genevieve"}));
    // Half of a word that the search shortens still narrows the list as it is typed.
    f.cityFilter()->setText(QStringLiteral("moun"));
    const QStringList half = shownNames(f.cities());
    QVERIFY2(half.contains(QStringLiteral("Mount Vernon")) && half.contains(QStringLiteral("Mountain Grove")),
        qPrintable(half.join(u',')));
    f.cityFilter()->setText(QStringLiteral("mt vernon"));
    QCOMPARE(shownNames(f.cities()), QStringList({"Mount Vernon"}));
}

// Type into the state filter, arrow down, Enter; the same for the city; Enter closes the dialog with the place.
void TestLocationDlg::keyboardAlone()
{
    Fixture f;
    f.stateFilter()->setFocus();
    QTest::keyClicks(f.stateFilter(), QStringLiteral("illi"));
    QTest::keyClick(f.stateFilter(), Qt::Key_Down);
    QCOMPARE(selectedName(f.states()), QStringLiteral("Illinois"));
    QTest::keyClick(f.stateFilter(), Qt::Key_Return);
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(QApplication::focusWidget(), f.cityFilter());

    QTest::keyClicks(f.cityFilter(), QStringLiteral("springfield"));
    QTest::keyClick(f.cityFilter(), Qt::Key_Down);
    QCOMPARE(selectedName(f.cities()), QStringLiteral("Springfield"));
    QTest::keyClick(f.cityFilter(), Qt::Key_Return);
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.stored().state, ILLINOIS);
    QCOMPARE(f.stored().city, SPRINGFIELD_IL);

    // Enter alone takes the first name the filter shows.
    f.open();
    QTest::keyClicks(f.stateFilter(), QStringLiteral("colo"));
    QTest::keyClick(f.stateFilter(), Qt::Key_Enter);
    QTest::keyClicks(f.cityFilter(), QStringLiteral("canon"));
    QTest::keyClick(f.cityFilter(), Qt::Key_Enter);
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.stored().city, CANON_CITY_CO);
}

// The search box has the focus on opening: a ZIP code, Enter to choose, Enter for OK.
void TestLocationDlg::searchByZipCode()
{
    Fixture f;
    f.store({COLORADO, CANON_CITY_CO});
    f.open();
    QCOMPARE(QApplication::focusWidget(), f.search());
    QVERIFY(!f.results()->isVisible());
    QTest::keyClicks(f.cityFilter(), QStringLiteral("xyz"));
    QTest::keyClicks(f.search(), QStringLiteral("50309"));
    QVERIFY(f.results()->isVisible());
    QCOMPARE(f.results()->count(), 1);
    QVERIFY(f.results()->item(0)->text().startsWith(QStringLiteral("Des Moines, Iowa")));
    QCOMPARE(selectedName(f.states()), QStringLiteral("Colorado"));

    QTest::keyClick(f.search(), Qt::Key_Return);
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(selectedName(f.states()), QStringLiteral("Iowa"));
    QCOMPARE(selectedName(f.cities()), QStringLiteral("Des Moines"));
    QVERIFY(f.cityFilter()->text().isEmpty());
    QCOMPARE(f.selection(), QStringLiteral("Des Moines, Iowa"));
    QCOMPARE(QApplication::focusWidget(), f.ok());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f.stored().state, IOWA);
    QCOMPARE(f.stored().city, DES_MOINES_IA);
}

// Two places of one name in a state show their counties, in the results and in the city list; a click chooses.
// Text that finds nothing says so, and Enter then neither chooses nor closes.
void TestLocationDlg::searchByClickAmongNamesakes()
{
    Fixture f;
    QTest::keyClicks(f.search(), QStringLiteral("nowhere at all"));
    QCOMPARE(f.results()->count(), 1);
    QCOMPARE(f.results()->item(0)->text(), QStringLiteral("No place found"));
    QTest::keyClick(f.search(), Qt::Key_Return);
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(f.states()->selectedItems().size(), 0);

    f.search()->setText(QStringLiteral("Mesquite, TX"));
    QListWidgetItem *starr = itemNamed(f.results(), QStringLiteral("Mesquite (Starr County), Texas"));
    QVERIFY(starr);
    QVERIFY(itemNamed(f.results(), QStringLiteral("Mesquite (Dallas County), Texas")));
    QTest::mouseClick(f.results()->viewport(), Qt::LeftButton, {}, f.results()->visualItemRect(starr).center());
    QCOMPARE(selectedName(f.states()), QStringLiteral("Texas"));
    QCOMPARE(selectedName(f.cities()), QStringLiteral("Mesquite (Starr County)"));
    QCOMPARE(f.selection(), QStringLiteral("Mesquite (Starr County), Texas"));
    QVERIFY(itemNamed(f.cities(), QStringLiteral("Mesquite (Dallas County)")));
    QTest::mouseClick(f.ok(), Qt::LeftButton);
    QCOMPARE(f.stored().city, MESQUITE_STARR_TX);
}

void TestLocationDlg::renderForReview()
{
    NIMBREL_REVIEW_ONLY();
    const QString folder = QStringLiteral(NIMBREL_TEST_OUTPUT "/dialogs");
    QVERIFY(QDir().mkpath(folder));
    Fixture f;
    QVERIFY(f.dialog->grab().save(folder + QStringLiteral("/location-empty.png")));
    f.store({COLORADO, CANON_CITY_CO});
    f.open();
    QTest::keyClicks(f.cityFilter(), QStringLiteral("ca"));
    QVERIFY(f.dialog->grab().save(folder + QStringLiteral("/location-stored.png")));
    QTest::keyClicks(f.search(), QStringLiteral("springfield"));
    QCoreApplication::processEvents();
    QVERIFY(f.dialog->grab().save(folder + QStringLiteral("/location-search.png")));
}

QTEST_MAIN(TestLocationDlg)
#include "test_locationdlg.moc"
