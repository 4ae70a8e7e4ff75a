#pragma once

#include <QString>

#include <optional>
#include <vector>

// A settings file as people write it: "[Group]" lines, "Name=value" lines, comments starting with
// "#" or ";", blank lines. Group and value names match without regard to case. Values are plain
// text: a comma, a quote or a "=" in a value is part of it, and surrounding blanks are kept by
// quoting the value. Lines that are none of these (no "=", a broken group line, and the values
// under it) are kept as they are but not read, so that one stray line costs that line only.
// Editing a value keeps every other line, comments included.
class IniDocument {
public:
    static IniDocument Parse(QStringView text);

    std::optional<QString> Value(QStringView group, QStringView name) const;
    // Sets a value, keeping the spelling a name already has in the file and removing any other
    // spellings of it, so that exactly one line answers to the name afterwards. A line break
    // ends the value (a value is one line). False when the value was there already.
    bool SetValue(const QString& group, const QString& name, QStringView value);
    QString Text() const;

    // Every value in file order, as visit(group, name, value).
    template <typename Visit>
    void ForEachValue(Visit visit) const
    {
        for (const Line& line : Lines) {
            if (line.Type == Line::Entry)
                visit(line.Group, line.Name, line.Value);
        }
    }

    int ValueCount() const;
    // Lines that are neither blank, a comment, a group nor a value.
    int StrayLineCount() const;

private:
    struct Line {
        QString Text;
        QString Group;  // the group a value line or group line belongs to
        QString Name;   // value lines only
        QString Value;
        enum Kind { Blank, Comment, GroupStart, BrokenGroup, Entry, Stray } Type = Blank;
    };
    std::vector<Line>::const_iterator Find(QStringView group, QStringView name) const;

    std::vector<Line> Lines;
};
