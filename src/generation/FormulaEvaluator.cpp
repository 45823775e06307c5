#include "FormulaEvaluator.h"

#include "ReportError.h"
#include "Recordset.h"
#include "ValueText.h"
#include "VbConvert.h"

#include <cmath>

namespace KRML_ReportGen {

double FormulaEvaluator::Val(const QString &text)
{
    QByteArray digits;
    int i = 0;
    const int n = text.size();
    const auto skip = [&] {
        while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') || text[i] == QLatin1Char('\n')
                         || text[i] == QLatin1Char('\r')))
            ++i;
    };
    skip();
    if (i + 1 < n && text[i] == QLatin1Char('&')) {
        const QChar k = text[i + 1].toUpper();
        const int base = k == QLatin1Char('H') ? 16 : (k == QLatin1Char('O') ? 8 : 0);
        if (base) {
            QString number;
            for (i += 2; i < n; ++i) {
                if (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') || text[i] == QLatin1Char('\n'))
                    continue;
                if (QString(QStringLiteral("0123456789ABCDEF")).left(base).contains(text[i].toUpper()))
                    number += text[i];
                else
                    break;
            }
            bool ok = false;
            const qlonglong v = number.toLongLong(&ok, base);
            return ok ? double(v) : 0.0;
        }
    }
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        digits += char(text[i++].unicode());
    bool point = false, any = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            continue;
        if (c.isDigit() && c.unicode() < 128) {
            digits += char(c.unicode());
            any = true;
        } else if (c == QLatin1Char('.') && !point) {
            digits += '.';
            point = true;
        } else {
            break;
        }
    }
    if (any && i < n && (text[i].toUpper() == QLatin1Char('E') || text[i].toUpper() == QLatin1Char('D'))) {
        QByteArray exponent("e");
        int j = i + 1;
        if (j < n && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            exponent += char(text[j++].unicode());
        bool expDigits = false;
        for (; j < n && text[j].isDigit() && text[j].unicode() < 128; ++j) {
            exponent += char(text[j].unicode());
            expDigits = true;
        }
        if (expDigits)
            digits += exponent;
    }
    if (!any)
        return 0.0;
    bool ok = false;
    const double v = digits.toDouble(&ok);
    return ok ? v : 0.0;
}

QString FormulaEvaluator::AnalyseFunction(const QString &funcString, Recordset &funcRS)
{
    return evaluate(funcString, funcRS, true);
}

QString FormulaEvaluator::evaluateCurrentRow(const QString &funcString, Recordset &rs)
{
    return evaluate(funcString, rs, false);
}

QString FormulaEvaluator::evaluate(const QString &funcString, Recordset &rs, bool firstRow)
{
    QString working = funcString;
    int scan = 0;
    for (;;) {
        const int open = funcString.indexOf(QLatin1Char('{'), scan);
        if (open < 0)
            break;
        const int close = funcString.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            break;
        const QString reference = funcString.mid(open, close - open + 1);
        const int dot = reference.indexOf(QLatin1Char('.'));
        if (dot >= 0) {
            const QString fieldName = reference.mid(dot + 1, reference.size() - dot - 2);
            if (firstRow && !rs.isEOF())
                rs.moveFirst();
            for (int i = 0; i < rs.fieldCount(); ++i) {
                if (rs.fieldName(i) == fieldName) {
                    const QVariant value = rs.field(i).value;
                    if (value.isNull())
                        throw ReportError(InvalidUseOfNull, QStringLiteral("Invalid use of Null"));
                    working.replace(reference, ValueText::of(value));
                    break;
                }
            }
        }
        scan = close + 1;
    }

    const int slash = working.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return working;
    const double a = Val(working.left(slash + 1));
    const double b = Val(working.mid(slash + 1));
    if (b == 0.0) {
        if (a == 0.0)
            throw ReportError::overflow();
        throw ReportError(DivisionByZero, QStringLiteral("Division by zero"));
    }
    return VbConvert::formatDouble(a / b);
}

} // namespace KRML_ReportGen
