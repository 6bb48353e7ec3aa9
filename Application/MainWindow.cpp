#include "Application/MainWindow.h"

#include "Application/Browser/BrowserView.h"

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Corvale"));
    resize(760, 520);
    setCentralWidget(new BrowserView(this));
}
