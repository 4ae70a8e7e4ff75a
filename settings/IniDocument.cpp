#include "IniDocument.h"

#include <algorithm>

namespace {

bool SameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Surrounding blanks would be lost on reading, and a value that is itself in quotes would lose
// them: both are written in quotes, which reading takes off again.
QString Quoted(QStringView value)
{
    const bool padded = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    const bool inQuotes = value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"');
    return padded || inQuotes ? u'"' + value.toString() + u'"' : value.toString();
}

QString Unquoted(QStringView value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        value = value.sliced(1, value.size() - 2);
    return value.toString();
}

QStringView FirstLine(QStringView text)
{
    const auto end = std::find_if(text.begin(), text.end(), [](QChar c) { return c == u'\n' || c == u'\r'; });
    return text.first(end - text.begin());
}

// A name that reads back as the same name on the same kind of line.
bool Writable(QStringView group, QStringView name)
{
    const auto plain = [](QStringView text, QStringView forbidden) {
        return !text.isEmpty() && text == text.trimmed() && FirstLine(text) == text
               && std::none_of(forbidden.begin(), forbidden.end(), [text](QChar c) { return text.contains(c); });
    };
    return plain(group, u"[]") && plain(name, u"=") && !name.startsWith(u'[') && !name.startsWith(u'#')
           && !name.startsWith(u';');
}

} // namespace

IniDocument IniDocument::Parse(QStringView text)
{
    IniDocument document;
    QString group;
    bool groupReadable = true; // false below a broken group line: whose values are those?
    while (!text.isEmpty()) {
        const QStringView raw = FirstLine(text);
        qsizetype next = raw.size(); // past CR LF, CR or LF
        next += next < text.size() && text[next] == u'\r';
        next += next < text.size() && text[next] == u'\n';
        text = text.sliced(next);
        Line line{raw.toString(), group, {}, {}, Line::Blank};
        const QStringView trimmed = raw.trimmed();
        const qsizetype equals = trimmed.indexOf(u'=');
        if (trimmed.isEmpty()) {
            line.Type = Line::Blank;
        } else if (trimmed.startsWith(u'#') || trimmed.startsWith(u';')) {
            line.Type = Line::Comment;
        } else if (trimmed.startsWith(u'[')) {
            const QStringView name = trimmed.endsWith(u']') ? trimmed.sliced(1, trimmed.size() - 2).trimmed() : QStringView();
            groupReadable = !name.isEmpty();
            group = name.toString();
            line.Group = group;
            line.Type = groupReadable ? Line::GroupStart : Line::BrokenGroup;
        } else if (equals > 0 && groupReadable) {
            line.Name = trimmed.first(equals).trimmed().toString();
            line.Value = Unquoted(trimmed.sliced(equals + 1).trimmed());
            line.Type = Line::Entry;
        } else {
            line.Type = Line::Stray;
        }
        document.Lines.push_back(std::move(line));
    }
    return document;
}

std::vector<IniDocument::Line>::const_iterator IniDocument::Find(QStringView group, QStringView name) const
{
    return std::find_if(Lines.begin(), Lines.end(), [&](const Line& line) {
        return line.Type == Line::Entry && SameName(line.Name, name) && SameName(line.Group, group);
    });
}

std::optional<QString> IniDocument::Value(QStringView group, QStringView name) const
{
    const auto found = Find(group, name);
    if (found == Lines.end())
        return std::nullopt;
    return found->Value;
}

bool IniDocument::SetValue(const QString& group, const QString& name, QStringView value)
{
    if (!Writable(group, name))
        return false;
    const QString text = FirstLine(value).toString();
    const auto found = Find(group, name);
    if (found != Lines.end()) {
        const auto first = Lines.begin() + (found - Lines.cbegin());
        const auto duplicate = [&](const Line& line) {
            return &line != &*first && line.Type == Line::Entry && SameName(line.Name, name) && SameName(line.Group, group);
        };
        const bool duplicates = std::any_of(Lines.begin(), Lines.end(), duplicate);
        if (first->Value == text && !duplicates)
            return false;
        first->Value = text;
        first->Text = first->Name + u'=' + Quoted(text);
        Lines.erase(std::remove_if(Lines.begin(), Lines.end(), duplicate), Lines.end());
        return true;
    }
    // A new value goes at the end of the first part of the file that holds its group, after the
    // last value there (comments and blank lines that follow stay where they are).
    auto start = std::find_if(Lines.begin(), Lines.end(), [&](const Line& line) {
        return line.Type == Line::GroupStart && SameName(line.Group, group);
    });
    Line entry{{}, group, name, text, Line::Entry};
    entry.Text = name + u'=' + Quoted(text);
    if (start == Lines.end()) {
        if (!Lines.empty() && !Lines.back().Text.trimmed().isEmpty())
            Lines.push_back({});
        Lines.push_back({u'[' + group + u']', group, {}, {}, Line::GroupStart});
        Lines.push_back(std::move(entry));
        return true;
    }
    entry.Group = start->Group;
    auto after = start + 1;
    for (auto line = after; line != Lines.end() && line->Type != Line::GroupStart && line->Type != Line::BrokenGroup; ++line) {
        if (line->Type == Line::Entry)
            after = line + 1;
    }
    Lines.insert(after, std::move(entry));
    return true;
}

QString IniDocument::Text() const
{
    QString text;
    for (const Line& line : Lines)
        text += line.Text + u'\n';
    return text;
}

int IniDocument::ValueCount() const
{
    return static_cast<int>(std::count_if(Lines.begin(), Lines.end(), [](const Line& l) { return l.Type == Line::Entry; }));
}

int IniDocument::StrayLineCount() const
{
    return static_cast<int>(std::count_if(Lines.begin(), Lines.end(), [](const Line& l) {
        return l.Type == Line::Stray || l.Type == Line::BrokenGroup;
    }));
}
