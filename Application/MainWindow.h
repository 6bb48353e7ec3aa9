#pragma once

#include <QMainWindow>

// The one window of Corvale: the column browser, the banner and the artist field live here.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};
