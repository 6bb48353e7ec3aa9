#pragma once

// A row label: a text with one shared text attribute set. Measuring, shortening to a width and
// drawing build on this.

#include <QString>

struct RKTextAttributes;

class RKTableString {
public:
    RKTableString(const QString& string, const RKTextAttributes& attributes);

    const QString& string() const { return m_string; }
    const RKTextAttributes& attributes() const { return *m_attributes; }

private:
    QString m_string;
    const RKTextAttributes* m_attributes; // shared sets live for the process
};
