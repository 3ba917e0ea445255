#include "helpviewer/sitemap.h"

#include <QStringDecoder>

#include <optional>

namespace logweave::helpviewer {
namespace {

struct Tag {
    QByteArray name;  // lower case, "/ul" for an end tag
    std::vector<std::pair<QByteArray, QByteArray>> attributes;  // names in lower case

    QByteArray attribute(const char* wanted) const
    {
        for (const auto& [n, v] : attributes)
            if (n == wanted)
                return v;
        return {};
    }
};

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// Reads the tag that starts at text[at] == '<'; `at` ends after its '>'.
Tag readTag(QByteArrayView text, qsizetype& at)
{
    Tag tag;
    qsizetype i = at + 1;
    const auto nameEnd = [&] {
        while (i < text.size() && !isSpace(text[i]) && text[i] != '>' && text[i] != '=')
            ++i;
    };
    qsizetype start = i;
    nameEnd();
    tag.name = text.sliced(start, i - start).toByteArray().toLower();
    for (;;) {
        while (i < text.size() && (isSpace(text[i]) || text[i] == '/'))
            ++i;
        if (i >= text.size() || text[i] == '>')
            break;
        start = i;
        nameEnd();
        QByteArray name = text.sliced(start, i - start).toByteArray().toLower();
        if (name.isEmpty()) {
            ++i;  // a stray '=' or the like
            continue;
        }
        while (i < text.size() && isSpace(text[i]))
            ++i;
        QByteArray value;
        if (i < text.size() && text[i] == '=') {
            ++i;
            while (i < text.size() && isSpace(text[i]))
                ++i;
            if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                const char quote = text[i];
                start = ++i;
                while (i < text.size() && text[i] != quote)
                    ++i;
                value = text.sliced(start, i - start).toByteArray();
                if (i < text.size())
                    ++i;
            } else {
                start = i;
                while (i < text.size() && !isSpace(text[i]) && text[i] != '>')
                    ++i;
                value = text.sliced(start, i - start).toByteArray();
            }
        }
        tag.attributes.emplace_back(std::move(name), std::move(value));
    }
    at = i < text.size() ? i + 1 : text.size();
    return tag;
}

std::optional<QChar> namedEntity(QStringView name)
{
    static const std::pair<const char*, char16_t> known[] = {
        {"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'}, {"apos", u'\''}, {"nbsp", u'\u00A0'}};
    for (const auto& [n, c] : known)
        if (name == QLatin1StringView(n))
            return QChar(c);
    return std::nullopt;
}

QString decodeEntities(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype semicolon = text[i] == u'&' ? text.indexOf(u';', i) : -1;
        if (semicolon > i + 1 && semicolon - i <= 10) {
            const QStringView body = QStringView(text).sliced(i + 1, semicolon - i - 1);
            bool ok = false;
            char32_t code = 0;
            if (body.startsWith(u"#x") || body.startsWith(u"#X"))
                code = body.sliced(2).toUInt(&ok, 16);
            else if (body.startsWith(u'#'))
                code = body.sliced(1).toUInt(&ok, 10);
            if (ok && code != 0 && code <= 0x10FFFF) {
                out += QString::fromUcs4(&code, 1);
                i = semicolon;
                continue;
            }
            if (const auto named = namedEntity(body)) {
                out += *named;
                i = semicolon;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString ignored = decoder.decode(bytes);
    return !decoder.hasError();
}

QString windows1252Text(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1252");
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
}

class Builder {
public:
    explicit Builder(bool utf8) : utf8_(utf8) {}

    void take(const Tag& tag)
    {
        if (tag.name == "ul") {
            std::vector<SitemapEntry>* level = levels_.empty() ? &roots_ : levels_.back();
            // A list right after an entry holds that entry's children.
            levels_.push_back(levels_.empty() || level->empty() ? level : &level->back().children);
        } else if (tag.name == "/ul") {
            if (!levels_.empty())
                levels_.pop_back();
        } else if (tag.name == "object") {
            inSitemapObject_ = tag.attribute("type").toLower() == "text/sitemap";
            entry_ = {};
        } else if (tag.name == "param" && inSitemapObject_) {
            const QByteArray name = tag.attribute("name").toLower();
            // An index entry may name several pages; the first is the one shown.
            if (name == "name" && entry_.name.isEmpty())
                entry_.name = text(tag.attribute("value"));
            else if (name == "local" && entry_.local.isEmpty())
                entry_.local = text(tag.attribute("value"));
        } else if (tag.name == "/object") {
            if (inSitemapObject_ && !(entry_.name.isEmpty() && entry_.local.isEmpty()))
                (levels_.empty() ? roots_ : *levels_.back()).push_back(std::move(entry_));
            inSitemapObject_ = false;
        }
    }

    std::vector<SitemapEntry> result() { return std::move(roots_); }

private:
    QString text(const QByteArray& bytes) const
    {
        const QString decoded = utf8_ ? QString::fromUtf8(bytes) : windows1252Text(bytes);
        return decodeEntities(decoded).trimmed();
    }

    bool utf8_;
    std::vector<SitemapEntry> roots_;
    // Appending to one level never moves the levels above it, so these stay valid.
    std::vector<std::vector<SitemapEntry>*> levels_;
    bool inSitemapObject_ = false;
    SitemapEntry entry_;
};

}  // namespace

std::vector<SitemapEntry> parseSitemap(QByteArrayView text)
{
    Builder builder(isUtf8(text));
    qsizetype at = 0;
    while ((at = text.indexOf('<', at)) >= 0) {
        if (text.sliced(at).startsWith("<!--")) {
            const qsizetype end = text.indexOf("-->", at + 4);
            at = end < 0 ? text.size() : end + 3;
            continue;
        }
        builder.take(readTag(text, at));
    }
    return builder.result();
}

QString firstPage(const std::vector<SitemapEntry>& entries)
{
    for (const SitemapEntry& entry : entries) {
        if (!entry.local.isEmpty())
            return entry.local;
        if (QString page = firstPage(entry.children); !page.isEmpty())
            return page;
    }
    return {};
}

QString pagePath(const QString& local)
{
    // "ms-its:Other.chm::/page.html" and the like name a page after "::".
    QString path = local.contains(QStringLiteral("::")) ? local.section(QStringLiteral("::"), -1) : local;
    path.replace(u'\\', u'/');
    if (!path.startsWith(u'/'))
        path.prepend(u'/');
    return path;
}

QString decodeHelpText(QByteArrayView bytes)
{
    return isUtf8(bytes) ? QString::fromUtf8(bytes) : windows1252Text(bytes);
}

}  // namespace logweave::helpviewer
