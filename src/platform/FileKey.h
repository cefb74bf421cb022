#pragma once

#include <QString>

// One text per file, however its path was spelled ("dir//x", "a/../x", a
// link to it): the canonical path of a file that exists, the cleaned
// absolute path of one that does not (yet).
QString FileKey(const QString &path);
