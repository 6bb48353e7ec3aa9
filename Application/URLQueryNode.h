// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Search-link rows: each opens a search for the artist of its parent row on an outside service.
// A row cannot be selected; pressing and releasing the mouse on it opens the link.

#include "Application/Node.h"

class URLQueryNode : public Node {
public:
    bool isMouseOver = false;

    void init() override;
    bool canSelectNode() const override { return false; }

    virtual QString linkText() const { return {}; }
    // The address template, with one "%@" where the artist's name goes.
    virtual QString formatString() const { return {}; }
    virtual RKImage nodeImage() const { return {}; }

    // "Search Google for Massive Attack".
    QString accessibleText() const override;

    // The template filled with the parent's artist name, encoded for an address.
    QString addressText() const;
    // Opens addressText() in the application registered for its scheme; nothing when it is
    // not a valid address.
    void nodeAction();

    void mouseEnteredCurrentFrame(const QMouseEvent* event, const QRectF& frame) override;
    void mouseExitedCurrentFrame(const QMouseEvent* event, const QRectF& frame) override;
    void mouseMovedCurrentFrame(const QMouseEvent* event, const QRectF& frame) override;
    bool nodeMouseDown(const QMouseEvent* event) override;
    bool nodeMouseUp(const QMouseEvent* event) override;

    // The capsule under the pointer (light gray, mid gray while pressed), then the row as any
    // other, 7 points in from the left and 3 from the right.
    void drawWithFrameInView(QPainter& painter, const QRectF& frame, const QWidget* view) override;
    // The link picture, white under the pointer.
    float drawRightDecorationInFrame(QPainter& painter, const QRectF& frame) override;

    static RKImage linkWhiteImage();
    static RKImage linkGrayImage();

private:
    void redraw();
};

class GoogleNode : public URLQueryNode {
public:
    QString linkText() const override;
    QString formatString() const override;
};

class GoogleImagesNode : public URLQueryNode {
public:
    QString linkText() const override;
    QString formatString() const override;
};

class GoogleNewsNode : public URLQueryNode {
public:
    QString linkText() const override;
    QString formatString() const override;
};

class AmazonNode : public URLQueryNode {
public:
    QString linkText() const override;
    QString formatString() const override;
};

class Everything2Node : public URLQueryNode {
public:
    QString linkText() const override;
    QString formatString() const override;
};

class RollingStoneNode : public URLQueryNode {
public:
    QString linkText() const override;
    QString formatString() const override;
};

class iTunesMusicStoreNode : public URLQueryNode {
public:
    QString linkText() const override;
    QString formatString() const override;
    RKImage nodeImage() const override;
    QSizeF imageOffset() const override { return {0, 4}; }
};

class AcquisitionNode : public URLQueryNode {
public:
    QString linkText() const override;
    QString formatString() const override;
    RKImage nodeImage() const override;
    QSizeF imageOffset() const override { return {0, 4}; }
};
