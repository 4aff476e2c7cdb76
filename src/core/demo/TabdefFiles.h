#pragma once

#include <QString>

namespace orven::demo {

// Writes the court's files of a demo installation's table-definition folder
// ("TD"): the ID catalogue in both editions ("ID_ORVEN.XML" for 2007,
// "ID_ORVEN2008.XML" for the other years) and the two court chart files
// ("ORVENTIPO.XML", "ORVENCONPLA.XML"). The chart version file is not
// written: the program creates it at its first start. The folder is created
// when missing. Throws orven::Error when a file cannot be written.
void writeTabdefFiles(const QString &tabdefFolder);

} // namespace orven::demo
