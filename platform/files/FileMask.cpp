#include "platform/files/FileMask.h"

namespace {

// Glob match with backtracking to the last "*" only: linear in practice, no recursion.
bool Glob(QStringView mask, QStringView name)
{
    qsizetype m = 0, n = 0, starMask = -1, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == u'?' || mask[m] == name[n])) {
            ++m;
            ++n;
        } else if (m < mask.size() && mask[m] == u'*') {
            starMask = m++;
            starName = n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == u'*')
        ++m;
    return m == mask.size();
}

} // namespace

bool MaskMatches(const QString &mask, const QString &name)
{
    if (mask.isEmpty())
        return false;
    const QString m = mask.toCaseFolded();
    const QString n = name.toCaseFolded();
    if (Glob(m, n))
        return true;
    // Windows lets a trailing "." or ".*" stand for "no extension at all".
    if (n.contains(u'.'))
        return false;
    if (m.endsWith(QLatin1String(".*")))
        return Glob(QStringView(m).chopped(2), n);
    if (m.endsWith(u'.'))
        return Glob(QStringView(m).chopped(1), n);
    return false;
}
