// SPDX-License-Identifier: GPL-3.0-or-later
// The application shell on the real main window: links and typed names becoming lookups, the
// menu commands, and the banner's pages and navigation policy.
#include "Application/AdView.h"
#include "Application/MainController.h"
#include "RKKit/RKApplication.h"
#include "RKKit/RKExtensions/NSDateExtensions.h"
#include "RKKit/RKExtensions/NSUserDefaultsExtensions.h"
#include "Browser/BrowserTestSupport.h"

#include "ApplicationTestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QXmlStreamReader>

namespace {

TEST(MainController, CleansedLinksAreTrimmedOfSlashesAndFullyDecoded)
{
    const struct {
        const char* after;
        const char* name;
    } cases[] = {
        {"Pink%20Floyd", "Pink Floyd"},
        {"//Pink+Floyd/", "Pink Floyd"},
        {"///Pink Floyd//", "Pink Floyd"},
        {"Sigur%20R%C3%B3s", "Sigur Rós"},
        {"%20Beck%20", " Beck "},
        {"Simon%20%26%20Garfunkel", "Simon & Garfunkel"},
        {"Bj%c3%b6rk", "Björk"},
        {"Me%2BYou", "Me+You"},        // '+' is a space; an encoded '+' stays a plus
        {"100%25%20Pure", "100% Pure"},
        {"Bad%G1Escape", "Bad%G1Escape"}, // not an escape: as written
        {"Trailing%2", "Trailing%2"},
        {"%FF%FE", "%FF%FE"},           // escapes that spell no UTF-8: as written
        {"", ""},
        {"///", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MainController::cleansedURL(QString::fromUtf8(c.after)), QString::fromUtf8(c.name)) << c.after;
}

struct Shell : ::testing::Test {
    SimilarArtistServer server;
    ShownWindow shown;
    MainController& controller = *shown.window.controller();
    int lookups() { return int(shown.root().nodes().size()) - MainNode::numberOfFixedEntries; }
};

TEST_F(Shell, LinksBecomeSelectedLookups)
{
    controller.handleURLEvent("corvale:Pink%20Floyd");
    EXPECT_EQ(shown.selectedPrimary(0), "Pink Floyd");
    EXPECT_EQ(shown.focusedColumn(), 0);
    controller.handleURLEvent("corvale://pink+floyd/");
    EXPECT_EQ(lookups(), 1) << "the same name in other letters selects the entry";
    controller.handleURLEvent("CORVALE:Beck");
    EXPECT_EQ(shown.selectedPrimary(0), "CORVALE:Beck") << "another scheme spelling is a plain name";
    controller.handleURLEvent("corvale:Sigur%20R%C3%B3s");
    EXPECT_EQ(shown.selectedPrimary(0), "Sigur Rós");
    EXPECT_TRUE(waitUntil([&] { return server.askedArtists().contains("Sigur Rós"); }));

    // Names that are too long or hold control characters are refused, and nothing is added.
    const int before = lookups();
    controller.handleURLEvent("corvale:" + QString(501, u'a'));
    controller.handleURLEvent("corvale:Bad%0ALine");
    controller.handleURLEvent(QString("Tab\tName"));
    EXPECT_EQ(lookups(), before);
    controller.handleURLEvent(QString(500, u'b'));
    EXPECT_EQ(lookups(), before + 1) << "500 characters are still a name";
}

TEST_F(Shell, TheArtistFieldAddsWhatIsTypedAndEmptiesItself)
{
    QLineEdit& field = *shown.window.artistField();
    EXPECT_TRUE(field.hasFocus()) << "the field has the focus at start";
    EXPECT_FALSE(field.placeholderText().isEmpty());
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(lookups(), 0) << "nothing typed, nothing added";
    QTest::keyClicks(&field, "Massive Attack");
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(shown.selectedPrimary(0), "Massive Attack");
    EXPECT_TRUE(field.text().isEmpty());
    field.setFocus();
    QTest::keyClicks(&field, "   ");
    QTest::keyClick(&field, Qt::Key_Enter);
    EXPECT_EQ(shown.selectedPrimary(0), "   ") << "spaces are a name as typed";
}

TEST_F(Shell, CommandsShowTheWindowAndSelectAFixedEntry)
{
    controller.command2();
    EXPECT_EQ(shown.selectedPrimary(0), "Brondel's Picks");
    EXPECT_EQ(shown.focusedColumn(), 0);
    // From a hidden window (activation itself is the window manager's business).
    shown.window.hide();
    controller.command3();
    EXPECT_TRUE(shown.window.isVisible());
    EXPECT_EQ(shown.selectedPrimary(0), "Your Recommendations");
    EXPECT_EQ(shown.window.focusWidget(), &shown.column(0));
    controller.command1();
    EXPECT_EQ(shown.column(0).selectedRow(), 1);
    // The menu's shortcut reaches the same command.
    QTest::keyClick(&shown.window, Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(shown.selectedPrimary(0), "Brondel's Picks");
    EXPECT_TRUE(MainController::feedbackURLString().startsWith("mailto:"));
    EXPECT_TRUE(MainController::feedbackURLString().endsWith("?subject=corvale%20" + QCoreApplication::applicationVersion() + "%20Feedback"));
}

TEST(AdView, PagesAskTheServiceForTheWholeName)
{
    UserDefaults::standardUserDefaults().setObjectForKey("http://127.0.0.1:8642/", "ServiceURL");
    const QString page = AdView::adSourceForKeywords("Simon & Garfunkel");
    EXPECT_TRUE(page.startsWith("<html><head><style type=\"text/css\">BODY {"));
    EXPECT_TRUE(page.contains("<body bgcolor=\"#000000\"><center><iframe marginwidth=0 marginheight=0 width=468 height=60 scrolling=no frameborder=0 src=\""));
    EXPECT_TRUE(page.contains("src=\"http://127.0.0.1:8642/e/cm?t=quorvix&amp;l=st1&amp;search=Simon%20%26%20Garfunkel&amp;mode=music&amp;"))
        << page.toStdString();
    EXPECT_TRUE(AdView::defaultAdSource().contains("search=ipod&amp;mode=electronics"));
    EXPECT_TRUE(AdView::adSourceForKeywords("Björk").contains("search=Bj%C3%B6rk&amp;"));

    AdView banner;
    EXPECT_EQ(AdView::instance(), &banner);
    banner.setKeywords("Air");
    banner.setKeywords("Air");
    EXPECT_EQ(banner.pageLoads(), 2) << "every call loads the page";
    EXPECT_TRUE(banner.pageSource().contains("search=Air&amp;"));
    UserDefaults::standardUserDefaults().setObjectForKey(QVariant(), "ServiceURL");
}

TEST(AdView, OnlyThePagesOwnLoadsStayInTheBanner)
{
    using P = AdView::Policy;
    const struct {
        const char* url;
        bool byUser;
        P policy;
    } cases[] = {
        {"http://127.0.0.1:8642/e/cm?x", false, P::Load},
        {"https://example.org/", false, P::Load},
        {"http://example.org/album", true, P::OpenInBrowser},
        {"HTTPS://example.org/album", true, P::OpenInBrowser},
        {"corvale:Portishead", true, P::OpenAsLookup},
        {"file:///etc/passwd", true, P::Refuse},
        {"javascript:alert(1)", true, P::Refuse},
        {"acquisitionsearch://x", true, P::Refuse},
        {"mailto:someone@example.org", true, P::Refuse},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AdView::policyForNavigation(QUrl(c.url), c.byUser), c.policy) << c.url;

    QStringList handed;
    AdView::setLinkHandler([&handed](const QString& link) { handed << link; });
    AdView::handOn(QUrl("corvale:Sigur%20R%C3%B3s"), P::OpenAsLookup);
    AdView::handOn(QUrl("file:///etc/passwd"), P::Refuse);
    AdView::setLinkHandler(nullptr);
    EXPECT_EQ(handed, QStringList{"corvale:Sigur%20R%C3%B3s"});
}

} // namespace

namespace {

TEST(MainWindow, SizeAndPlaceAreKeptAcrossWindows)
{
    {
        MainWindow window;
        window.resize(812, 604);
        window.move(40, 30);
        window.saveFrame();
    }
    MainWindow next;
    EXPECT_EQ(next.size(), QSize(812, 604));
    EXPECT_EQ(next.pos(), QPoint(40, 30));
    EXPECT_FALSE(next.windowIcon().isNull()) << "the window carries the application icon";
    UserDefaultsExtensions::setRectForKey(UserDefaults::standardUserDefaults(), QRectF(), "MainWindowFrame");
}

} // namespace

namespace {

// The German and French translations, loaded as the program loads them for the user's locale.
TEST(Translations, TheWindowMenusAndPanelsSpeakTheLocalesLanguage)
{
    RKApplication::installTranslations(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(QCoreApplication::translate("RKVersionChecker", "Ignore"), "Ignorieren");
    EXPECT_EQ(QCoreApplication::translate("RKVersionChecker", "Remind Later"), "Später erinnern");
    EXPECT_EQ(QCoreApplication::translate("URLQueryNode", "Search Google"), "Bei Google suchen");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen") << "Qt's own texts too";
    EXPECT_EQ(DateExtensions::stringFromTimeInterval(2 * 3600), "2 Stunden") << "plurals by Qt's forms";
    EXPECT_EQ(DateExtensions::stringFromTimeInterval(3600), "1 Stunde");
    {
        MainWindow window;
        QStringList menus;
        for (QAction* menu : window.menuBar()->actions())
            menus << menu->text();
        EXPECT_EQ(menus, QStringList({"&Datei", "&Gehe zu", "&Fenster", "&Hilfe"}));
        EXPECT_EQ(window.artistField()->placeholderText(), "Künstlername – Eingabetaste sucht ähnliche Künstler");
        EXPECT_EQ(window.browserView()->tableAtIndex(1)->accessibleName(), "Ähnliche Künstler");
    }
    RKApplication::installTranslations(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(QCoreApplication::translate("RKVersionChecker", "This is the most recent version."), "Vous avez la version la plus récente.");
    EXPECT_EQ(QCoreApplication::translate("MainNode", "Your Recommendations"), "Vos recommandations");

    EXPECT_EQ(DateExtensions::stringFromTimeInterval(5 * 60), "5 minutes");
    RKApplication::installTranslations(QLocale::c());
    EXPECT_EQ(DateExtensions::stringFromTimeInterval(5 * 60), "5 minutes");
    EXPECT_EQ(DateExtensions::stringFromTimeInterval(2 * 3600), "2 hours");
    EXPECT_EQ(QCoreApplication::translate("RKVersionChecker", "Ignore"), "Ignore") << "English without a translation";
}

TEST(Translations, EveryTextIsTranslated)
{
    for (const char* language : {"de", "fr"}) {
        QFile file(QStringLiteral(CORVALE_SOURCE_DIR "/resources/translations/corvale_%1.ts").arg(language));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << language;
        QXmlStreamReader ts(&file);
        int messages = 0;
        while (!ts.atEnd()) {
            if (ts.readNext() != QXmlStreamReader::StartElement || ts.name() != QLatin1String("translation"))
                continue;
            ++messages;
            const bool unfinished = ts.attributes().value("type") == QLatin1String("unfinished");
            // Plural texts hold one form per number class of the language.
            EXPECT_FALSE(unfinished || ts.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().isEmpty())
                << language << " message " << messages;
        }
        EXPECT_FALSE(ts.hasError()) << ts.errorString().toStdString();
        EXPECT_GT(messages, 40) << language;
    }
}

} // namespace
