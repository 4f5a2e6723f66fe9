#include "workbookwriter.h"

#include <QFile>

#include <xlsxwriter.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <locale.h>

namespace xlsx {

#if defined(Q_OS_WIN)
CNumericLocale::CNumericLocale()
    : previousMode_(_configthreadlocale(_ENABLE_PER_THREAD_LOCALE)),
      previous_(QString::fromLocal8Bit(std::setlocale(LC_NUMERIC, nullptr))) {
    std::setlocale(LC_NUMERIC, "C");
}

CNumericLocale::~CNumericLocale() {
    std::setlocale(LC_NUMERIC, previous_.toLocal8Bit().constData());
    _configthreadlocale(previousMode_);
}
#else
CNumericLocale::CNumericLocale() {
    locale_t base = duplocale(LC_GLOBAL_LOCALE);
    if (base)
        c_ = newlocale(LC_NUMERIC_MASK, "C", base);
    if (c_)
        previous_ = uselocale(c_);
    else if (base)
        freelocale(base);
}

CNumericLocale::~CNumericLocale() {
    if (c_) {
        uselocale(previous_);
        freelocale(c_);
    }
}
#endif

namespace {

QString describe(lxw_error error) {
    return QString::fromUtf8(lxw_strerror(error));
}

bool isHex(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// Readers take _xHHHH_ in a cell text for the character HHHH; the writer escapes the characters
// XML cannot carry that way but leaves such sequences already in the text alone, so a text
// holding one literally would come back changed. Escaping its underscore keeps it.
QString protectEscapes(const QString& text) {
    qsizetype at = text.indexOf(QLatin1String("_x"));
    if (at < 0)
        return text;
    QString out = text;
    while (at >= 0) {
        if (at + 7 <= out.size() && out[at + 6] == u'_' && isHex(out[at + 2]) &&
            isHex(out[at + 3]) && isHex(out[at + 4]) && isHex(out[at + 5])) {
            out.insert(at + 1, QLatin1String("x005F_"));
            at += 6;
        }
        at = out.indexOf(QLatin1String("_x"), at + 1);
    }
    return out;
}

// XML cannot carry NUL, most control characters, U+FFFE and U+FFFF, and the writer takes C
// strings, so a NUL would end the cell there. Such characters go in as _xHHHH_, which readers
// turn back into the character; a lone surrogate has no UTF-8 form and becomes U+FFFD.
QString escapeForXml(const QString& text) {
    QString out;
    out.reserve(text.size());
    bool changed = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool control = c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
        if (control || c == 0xFFFE || c == 0xFFFF) {
            out += QStringLiteral("_x") +
                   QStringLiteral("%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper() + u'_';
            changed = true;
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                   QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += text[i];
            out += text[++i];
        } else if (QChar::isSurrogate(c)) {
            out += QChar(QChar::ReplacementCharacter);
            changed = true;
        } else {
            out += text[i];
        }
    }
    return changed ? out : text;
}

} // namespace

QByteArray cellText(const QString& text) {
    // Most texts (names, numbers, dates) hold nothing to escape: one look at each character
    // and they go as they are.
    bool plain = true;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == u'_' || u >= 0xD800) {
            plain = false;
            break;
        }
    }
    return plain ? text.toUtf8() : escapeForXml(protectEscapes(text)).toUtf8();
}

bool isNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool writeWorkbook(const Workbook& book, const QString& path, int activeSheet, QString* error) {
    const CNumericLocale cLocale;
    const QByteArray nativePath = QFile::encodeName(path);
    lxw_workbook_options options = {};
    // Rows go straight to the file with their strings inline: less work than a shared string
    // table for sheets of distinct numbers-as-text, and the cells arrive in row order anyway.
    options.constant_memory = 1;
    lxw_workbook* workbook = workbook_new_opt(nativePath.constData(), &options);
    if (!workbook) {
        if (error)
            *error = QStringLiteral("cannot create a workbook");
        return false;
    }
    lxw_format* centred = workbook_add_format(workbook);
    format_set_align(centred, LXW_ALIGN_CENTER);

    lxw_error failure = LXW_NO_ERROR;
    int fallbackNumber = 0;
    for (std::size_t s = 0; s < book.sheets.size() && failure == LXW_NO_ERROR; ++s) {
        const Worksheet& sheet = book.sheets[s];
        QByteArray name = sheet.name().toUtf8();
        while (name.isEmpty() ||
               workbook_validate_sheet_name(workbook, name.constData()) != LXW_NO_ERROR)
            name = "Sheet" + QByteArray::number(++fallbackNumber);
        lxw_worksheet* worksheet = workbook_add_worksheet(workbook, name.constData());
        if (!worksheet) {
            failure = LXW_ERROR_MEMORY_MALLOC_FAILED;
            break;
        }
        if (int(s) == activeSheet)
            worksheet_activate(worksheet);
        QByteArray text;
        sheet.forEach([&](int row, int column, const Cell& cell) {
            if (failure != LXW_NO_ERROR)
                return;
            const lxw_row_t r = lxw_row_t(row - 1);
            const lxw_col_t c = lxw_col_t(column - 1);
            lxw_format* format = cell.centred ? centred : nullptr;
            const QVariant& v = cell.value;
            if (!v.isValid()) {
                if (format)
                    failure = worksheet_write_blank(worksheet, r, c, format);
            } else if (v.typeId() == QMetaType::Bool) {
                failure = worksheet_write_boolean(worksheet, r, c, v.toBool(), format);
            } else if (isNumber(v)) {
                failure = worksheet_write_number(worksheet, r, c, v.toDouble(), format);
            } else {
                text = cellText(v.toString());
                failure = worksheet_write_string(worksheet, r, c, text.constData(), format);
            }
        });
    }
    if (failure != LXW_NO_ERROR) {
        // Nothing reaches the disk before workbook_close.
        lxw_workbook_free(workbook);
        if (error)
            *error = describe(failure);
        return false;
    }
    errno = 0;
    const lxw_error closed = workbook_close(workbook);
    if (closed != LXW_NO_ERROR) {
        // The writer's own text is generic ("Error in zip file operation"); the system's reason
        // ("No space left on device") is what the user can act on.
        const int reason = errno;
        if (error)
            *error = reason != 0 ? QString::fromLocal8Bit(std::strerror(reason)) : describe(closed);
        return false;
    }
    return true;
}

} // namespace xlsx
