#include "mainform/ScreenCursors.h"

#include "skin/CursorFile.h"

#include <QHash>

namespace {

QHash<int, QCursor> &registry()
{
    static QHash<int, QCursor> cursors;
    return cursors;
}

} // namespace

void LoadScreenCursors(const QString &programFolder)
{
    const QString folder = programFolder + QStringLiteral("Cursor/");
    registry().insert(crDragWE, skin::loadCursorFile(folder + QStringLiteral("DragWE.cur")));
    registry().insert(crPress, skin::loadCursorFile(folder + QStringLiteral("Press.cur")));
}

QCursor ScreenCursor(int id)
{
    return registry().value(id, QCursor(Qt::ArrowCursor));
}
