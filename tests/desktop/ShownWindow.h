#pragma once

// A window as the window manager shows it, read with the X tools any other client would use
// (xwininfo, xprop): its outer rectangle with the frame the window manager drew around it
// (_NET_FRAME_EXTENTS), whether it is on the screen, whether it is kept above other windows and
// whether it is left out of taskbars and pagers.
// For the tests that run under tests/desktop/with-openbox.sh.
#include <QMargins>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStringList>

#include <optional>

struct ShownWindow {
    QRect Outer;
    QMargins Frame;
    bool Viewable = false;
    bool Above = false;
    bool OffTaskbar = false; // no taskbar button and not in the pager

    QRect Client() const { return Outer.marginsRemoved(Frame); }

    // The window with that X id ("0x1a00003" or decimal) or, with byName, that exact title.
    static std::optional<ShownWindow> Of(const QString& window, bool byName = false)
    {
        const QString info = Output("xwininfo", {byName ? "-name" : "-id", window});
        const QString id = Field(info, R"(Window id: (\S+))");
        if (id.isEmpty())
            return std::nullopt;
        const QString properties = Output("xprop", {"-id", id, "_NET_FRAME_EXTENTS", "_NET_WM_STATE"});
        const QStringList extents = Field(properties, R"(_NET_FRAME_EXTENTS\(CARDINAL\) = ([\d, ]+))").split(", ");
        ShownWindow shown;
        if (extents.size() == 4) // left, right, top, bottom
            shown.Frame = QMargins(extents[0].toInt(), extents[2].toInt(), extents[1].toInt(), extents[3].toInt());
        const QRect client(Field(info, R"(Absolute upper-left X:\s+(-?\d+))").toInt(),
                           Field(info, R"(Absolute upper-left Y:\s+(-?\d+))").toInt(),
                           Field(info, R"(Width:\s+(\d+))").toInt(), Field(info, R"(Height:\s+(\d+))").toInt());
        shown.Outer = client.marginsAdded(shown.Frame);
        shown.Viewable = info.contains("Map State: IsViewable");
        shown.Above = properties.contains("_NET_WM_STATE_ABOVE");
        shown.OffTaskbar = properties.contains("_NET_WM_STATE_SKIP_TASKBAR") && properties.contains("_NET_WM_STATE_SKIP_PAGER");
        return shown;
    }

private:
    static QString Output(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(10000);
        return QString::fromLocal8Bit(process.readAllStandardOutput());
    }
    static QString Field(const QString& text, const char* pattern)
    {
        return QRegularExpression(QString::fromLatin1(pattern)).match(text).captured(1);
    }
};
