#pragma once

// The banner strip that follows the selected artist. There is one, recorded when the main
// window is loaded; until then instance() is none and keywords go nowhere.

#include <QString>
#include <QWidget>

class AdView : public QWidget {
    Q_OBJECT
public:
    explicit AdView(QWidget* parent = nullptr);
    ~AdView() override;

    static AdView* instance();

    void setKeywords(const QString& keywords);
    QString keywords() const { return m_keywords; }

private:
    QString m_keywords;
};
