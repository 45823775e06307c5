#include "JetDateText.h"

namespace KRML_ReportGen {

namespace {

int digitsAt(const char *s, int from, int count)
{
    int v = 0;
    for (int i = from; i < from + count; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return -1;
        v = v * 10 + (s[i] - '0');
    }
    return v;
}

} // namespace

QString JetDateText::canonical(const QDateTime &value)
{
    if (value.time() == QTime(0, 0))
        return value.date().toString(QStringLiteral("yyyy-MM-dd"));
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QVariant JetDateText::parse(const char *s, int len)
{
    if (len < 10 || (s[4] != '-' && s[4] != '/') || s[7] != s[4])
        return QVariant();
    const int y = digitsAt(s, 0, 4), mo = digitsAt(s, 5, 2), d = digitsAt(s, 8, 2);
    if (y < 0 || mo < 0 || d < 0)
        return QVariant();
    const QDate date(y, mo, d);
    if (!date.isValid())
        return QVariant();
    if (len == 10)
        return date;
    if ((s[10] != ' ' && s[10] != 'T') || len < 16 || s[13] != ':')
        return QVariant();
    const int h = digitsAt(s, 11, 2), mi = digitsAt(s, 14, 2);
    int sec = 0;
    if (len >= 19 && s[16] == ':')
        sec = digitsAt(s, 17, 2);
    if (h < 0 || mi < 0 || sec < 0)
        return QVariant();
    const QTime time(h, mi, sec);
    if (!time.isValid())
        return QVariant();
    return QDateTime(date, time);
}

QVariant JetDateText::parse(const QString &text)
{
    const QByteArray latin = text.toLatin1();
    return parse(latin.constData(), int(latin.size()));
}

} // namespace KRML_ReportGen
