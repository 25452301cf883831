#include "Pictures.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function in the global namespace, so it is called
// from here rather than from inside a namespace.
static void registerPictures()
{
    Q_INIT_RESOURCE(pictures);
}

void InitPictures()
{
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
}

QString Pictures::CheckImage(int index)
{
    switch (index) {
    case 1:
        return CheckChecked;
    case 2:
        return CheckPartial;
    default:
        return CheckUnchecked;
    }
}
