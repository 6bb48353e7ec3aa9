// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/MainWindow.h"

#include "Application/AdView.h"
#include "Application/Browser/BrowserView.h"
#include "Application/Browser/MetaTableView.h"
#include "Application/MainController.h"
#include "Platform/UserDefaults.h"
#include "RKKit/RKExtensions/NSUserDefaultsExtensions.h"
#include "RKKit/RKMetalBox.h"
#include "RKKit/RKSplitView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The node table a widget under the pointer belongs to (its rows' viewport, or itself).
MetaTableView* nodeTableOf(QWidget* widget)
{
    if (auto* table = qobject_cast<MetaTableView*>(widget))
        return table;
    if (widget && widget->parentWidget()) {
        auto* table = qobject_cast<MetaTableView*>(widget->parentWidget());
        if (table && table->viewport() == widget)
            return table;
    }
    return nullptr;
}

} // namespace

namespace {
const QString frameKey = QStringLiteral("MainWindowFrame");
}

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_browser(new CVBrowserView)
    , m_artistField(new QLineEdit)
    , m_banner(new AdView)
    , m_split(new RKSplitView)
    , m_controller(new MainController(m_browser, this, this))
{
    setWindowTitle(QStringLiteral("Corvale"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/org.corvale.Corvale.svg")));
    resize(760, 560);

    m_artistField->setPlaceholderText(tr("Artist name — press Return to find similar artists"));
    m_artistField->setAccessibleName(tr("Artist"));
    m_artistField->setClearButtonEnabled(true);
    connect(m_artistField, &QLineEdit::returnPressed, this, [this] { m_controller->addArtist(m_artistField); });

    // Top pane: the field above the banner; bottom pane: the browser. Both framed.
    auto* header = new QWidget;
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(0);
    headerLayout->addWidget(m_artistField);
    headerLayout->addWidget(m_banner, 1);
    auto* top = new RKMetalBox;
    top->setContentView(header);
    auto* bottom = new RKMetalBox;
    bottom->setContentView(m_browser);
    m_split->setPanes(top, bottom);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_split);
    setCentralWidget(central);

    buildMenus();
    restoreFrame();
    m_artistField->setFocus(Qt::OtherFocusReason);

    // Motion without a button reaches the application's filters even over widgets that do not
    // track the pointer, so the window sees every move over any of its parts.
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

void MainWindow::buildMenus()
{
    const auto add = [this](QMenu* menu, const QString& text, const QKeySequence& keys, auto slot) {
        QAction* action = menu->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, m_controller, slot);
        return action;
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* find = file->addAction(tr("&New Lookup…"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(find, &QAction::triggered, this, [this] {
        m_artistField->setFocus(Qt::ShortcutFocusReason);
        m_artistField->selectAll();
    });
    file->addSeparator();
    QAction* quit = file->addAction(tr("&Quit"));
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, qApp, &QApplication::quit, Qt::QueuedConnection);

    QMenu* go = menuBar()->addMenu(tr("&Go"));
    add(go, tr("Current iTunes Artist"), QKeySequence(Qt::CTRL | Qt::Key_1), &MainController::command1);
    add(go, tr("Brondel's Picks"), QKeySequence(Qt::CTRL | Qt::Key_2), &MainController::command2);
    add(go, tr("Your Recommendations"), QKeySequence(Qt::CTRL | Qt::Key_3), &MainController::command3);

    QMenu* window = menuBar()->addMenu(tr("&Window"));
    add(window, tr("&Main Window"), QKeySequence(Qt::CTRL | Qt::Key_0), &MainController::restoreMainWindow);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    add(help, tr("Check for &Updates…"), QKeySequence(), &MainController::checkVersion);
    add(help, tr("Send &Feedback…"), QKeySequence(), &MainController::sendFeedbackEmail);
    add(help, tr("&Chat with the Developer…"), QKeySequence(), &MainController::chatWithDeveloper);
}

void MainWindow::restoreFrame()
{
    const QRectF frame = UserDefaultsExtensions::rectForKey(UserDefaults::standardUserDefaults(), frameKey);
    if (frame.width() < 200 || frame.height() < 150)
        return;
    resize(frame.size().toSize());
    // Only to a place on a screen that is still there.
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(frame.toRect())) {
            move(frame.topLeft().toPoint());
            return;
        }
    }
}

void MainWindow::saveFrame() const
{
    UserDefaultsExtensions::setRectForKey(UserDefaults::standardUserDefaults(), QRectF(pos(), size()), frameKey);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    saveFrame();
    QMainWindow::closeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        auto* motion = static_cast<QMouseEvent*>(event);
        // A move passed on from a widget to its parents comes by again: dispatch it once.
        const bool seen = motion->timestamp() == m_lastMotionTime && motion->globalPosition() == m_lastMotionPosition;
        if (motion->buttons() == Qt::NoButton && widget->window() == this && !seen) {
            m_lastMotionTime = motion->timestamp();
            m_lastMotionPosition = motion->globalPosition();
            sendPointerMotion(motion);
        }
    } else if (event->type() == QEvent::Leave && watched == this) {
        sendPointerMotion(nullptr);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::sendPointerMotion(const QMouseEvent* event)
{
    QWidget* view = nullptr;
    if (event) {
        const QPoint inWindow = mapFromGlobal(event->globalPosition().toPoint());
        view = childAt(inWindow);
    }
    MetaTableView* table = nodeTableOf(view);
    QWidget* current = m_currentView;
    if (view != current) {
        if (MetaTableView* old = nodeTableOf(current))
            old->mouseExited(event);
        if (table)
            table->mouseEntered(event);
        m_currentView = view;
    }
    if (table)
        table->mouseMoved(event);
}
