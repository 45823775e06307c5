#include "ExpressionTokenizer.h"

#include "ExpressionError.h"
#include "JetDateText.h"

#include <QDate>

namespace KRML_ReportGen {

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// #2024-03-15#, #2024/03/15 10:30#, and the dialect's month-first #3/15/2024#.
QDateTime dateOf(const QString &text)
{
    const QVariant v = JetDateText::parse(text.trimmed());
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    for (const char *form : {"M/d/yyyy", "M/d/yyyy H:mm", "M/d/yyyy H:mm:ss"}) {
        const QDateTime dt = QDateTime::fromString(text.trimmed(), QLatin1String(form));
        if (dt.isValid())
            return dt;
    }
    return QDateTime();
}

} // namespace

QList<ExpressionToken> ExpressionTokenizer::tokenize(const QString &text, int offset)
{
    QList<ExpressionToken> tokens;
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto fail = [&](qsizetype at, const QString &message) {
        throw ExpressionError(ExpressionError::SyntaxError, int(at) + offset, message);
    };
    while (i < n) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        ExpressionToken t;
        t.position = int(i) + offset;
        if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && text[i + 1].isDigit())) {
            qsizetype j = i;
            while (j < n && text[j].isDigit())
                ++j;
            if (j < n && text[j] == QLatin1Char('.')) {
                ++j;
                while (j < n && text[j].isDigit())
                    ++j;
            }
            if (j < n && (text[j] == QLatin1Char('e') || text[j] == QLatin1Char('E'))) {
                qsizetype k = j + 1;
                if (k < n && (text[k] == QLatin1Char('+') || text[k] == QLatin1Char('-')))
                    ++k;
                if (k < n && text[k].isDigit()) {
                    while (k < n && text[k].isDigit())
                        ++k;
                    j = k;
                }
            }
            t.kind = ExpressionToken::Kind::Number;
            t.text = text.mid(i, j - i);
            bool ok = false;
            const double v = t.text.toDouble(&ok);
            if (!ok)
                fail(i, QStringLiteral("\"%1\" is not a number").arg(t.text));
            t.value = v;
            i = j;
        } else if (c == QLatin1Char('"')) {
            QString s;
            qsizetype j = i + 1;
            for (;;) {
                if (j >= n)
                    fail(i, QStringLiteral("the text has no closing quote"));
                if (text[j] == QLatin1Char('"')) {
                    if (j + 1 < n && text[j + 1] == QLatin1Char('"')) {
                        s += QLatin1Char('"');
                        j += 2;
                        continue;
                    }
                    break;
                }
                s += text[j++];
            }
            t.kind = ExpressionToken::Kind::Text;
            t.value = s;
            i = j + 1;
        } else if (c == QLatin1Char('#')) {
            const qsizetype close = text.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0)
                fail(i, QStringLiteral("the date has no closing #"));
            const QString inside = text.mid(i + 1, close - i - 1);
            const QDateTime dt = dateOf(inside);
            if (!dt.isValid())
                fail(i, QStringLiteral("#%1# is not a date").arg(inside));
            t.kind = ExpressionToken::Kind::Date;
            t.value = dt;
            i = close + 1;
        } else if (c == QLatin1Char('{')) {
            if (!tokens.isEmpty() && tokens.last().kind == ExpressionToken::Kind::Name) {
                t.kind = ExpressionToken::Kind::Open;
                t.text = c;
                ++i;
            } else {
                const qsizetype close = text.indexOf(QLatin1Char('}'), i + 1);
                if (close < 0)
                    fail(i, QStringLiteral("the field reference has no closing }"));
                const QString inside = text.mid(i + 1, close - i - 1);
                const qsizetype dot = inside.indexOf(QLatin1Char('.'));
                if (dot <= 0 || dot == inside.size() - 1 || inside.contains(QLatin1Char('{')))
                    fail(i, QStringLiteral("a field reference is {Statement.Field}"));
                t.kind = ExpressionToken::Kind::Field;
                t.statement = inside.left(dot).trimmed();
                t.field = inside.mid(dot + 1).trimmed();
                t.text = text.mid(i, close - i + 1);
                i = close + 1;
            }
        } else if (isNameStart(c)) {
            qsizetype j = i;
            while (j < n && isNameChar(text[j]))
                ++j;
            t.kind = ExpressionToken::Kind::Name;
            t.text = text.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char('}')) {
            t.kind = c == QLatin1Char('(') ? ExpressionToken::Kind::Open : ExpressionToken::Kind::Close;
            t.text = c;
            ++i;
        } else if (c == QLatin1Char(',') || c == QLatin1Char(';')) {
            t.kind = ExpressionToken::Kind::Separator;
            t.text = c;
            ++i;
        } else if (QStringLiteral("+-*/\\^&=<>").contains(c)) {
            t.kind = ExpressionToken::Kind::Operator;
            t.text = c;
            if (c == QLatin1Char('<') && i + 1 < n && (text[i + 1] == QLatin1Char('>') || text[i + 1] == QLatin1Char('=')))
                t.text += text[i + 1];
            else if (c == QLatin1Char('>') && i + 1 < n && text[i + 1] == QLatin1Char('='))
                t.text += text[i + 1];
            // Count(*): a "*" right after an opening parenthesis or brace.
            if (c == QLatin1Char('*') && !tokens.isEmpty() && tokens.last().kind == ExpressionToken::Kind::Open)
                t.kind = ExpressionToken::Kind::Star;
            i += t.text.size();
        } else {
            fail(i, QStringLiteral("\"%1\" is not expected here").arg(c));
        }
        tokens.append(t);
    }
    ExpressionToken end;
    end.position = int(n) + offset;
    tokens.append(end);
    return tokens;
}

} // namespace KRML_ReportGen
