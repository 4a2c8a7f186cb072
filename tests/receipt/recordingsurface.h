#pragma once

#include "core/gbk.h"
#include "core/platform.h"
#include "receipt/receiptsurface.h"

#include <QImage>
#include <QList>

namespace qm {

// A drawing surface with fixed, simple metrics that records what is drawn: a GBK byte is 2/3 of the
// size in points wide (6 at 9 points, 8 at 12), every line of text twice the size high.
class RecordingSurface : public ReceiptSurface {
public:
    struct Op {
        int x = 0;
        int y = 0;
        QString text; // empty for a picture
        int size = 0;
        bool bold = false;
        int w = 0; // pictures only
        int h = 0;
    };

    explicit RecordingSurface(int width, Kind kind = Kind::Preview)
        : m_width(width)
        , m_kind(kind) {}

    int width() const override { return m_width; }
    Kind kind() const override { return m_kind; }
    void setFont(int points, bool bold) override {
        m_size = points;
        m_bold = bold;
    }
    int textWidth(const QString& text) const override { return int(gbkLength(text)) * m_size * 2 / 3; }
    int textHeight(const QString&) const override { return 2 * m_size; }
    void drawText(int x, int y, const QString& text) override { ops.append({x, y, text, m_size, m_bold}); }
    QSize pictureSize(const QImage& picture) const override { return picture.size(); }
    void drawPicture(const QImage&, int x, int y, int w, int h) override {
        ops.append({x, y, QString(), 0, false, w, h});
    }

    // The texts drawn, in order, pictures as "[picture]".
    QStringList texts() const {
        QStringList out;
        for (const Op& op : ops)
            out << (op.text.isEmpty() ? QStringLiteral("[picture]") : op.text);
        return out;
    }
    // The first text op that contains `part`, or null.
    const Op* find(const QString& part) const {
        for (const Op& op : ops) {
            if (op.text.contains(part))
                return &op;
        }
        return nullptr;
    }
    int count(const QString& part) const {
        int n = 0;
        for (const Op& op : ops)
            n += op.text.contains(part) ? 1 : 0;
        return n;
    }

    QList<Op> ops;

private:
    int m_width;
    Kind m_kind;
    int m_size = 9;
    bool m_bold = false;
};

// A printer that records each job's page; it refuses jobs from `failFrom` on (1-based, 0 never).
class RecordingPrinter : public ReceiptPrinter {
public:
    RecordingPrinter(QList<RecordingSurface>& jobs, int width, int failFrom = 0)
        : m_jobs(jobs)
        , m_width(width)
        , m_failFrom(failFrom) {}

    bool printPage(const std::function<int(ReceiptSurface&)>& draw) override {
        if (m_failFrom > 0 && m_jobs.size() + 1 >= m_failFrom)
            return false;
        RecordingSurface surface(m_width, ReceiptSurface::Kind::Printer);
        draw(surface);
        m_jobs.append(surface);
        return true;
    }

private:
    QList<RecordingSurface>& m_jobs;
    int m_width;
    int m_failFrom;
};

} // namespace qm
