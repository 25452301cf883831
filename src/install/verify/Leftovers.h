#pragma once

#include <QString>
#include <QStringList>

// What a run that was cut short or failed can leave beside an installed data
// file of the selection: its temporary file ("Coat.sty.a1B2c3.quillon-part"),
// its kept-aside earlier version ("Coat.sty.a1B2c3.quillon-old") or its packed
// copy ("Coat.sty_"). Returns them, full paths in Qt form, in folder order.
// Each folder of the installed files is listed once; a folder reached
// through a link below the destination is not listed.
QStringList FindLeftovers(const QString &destination, const QStringList &installedFiles);
