#include "generation/Run.h"

#include "generation/Amounts.h"

namespace orven::generation {

RunParameters RunParameters::forBimester(int bimester, const QString &exerciseYear, int entity,
                                         const QString &targetFolder)
{
    RunParameters p;
    p.bimester = bimester;
    p.firstMonth = generation::firstMonth(bimester);
    p.secondMonth = generation::secondMonth(bimester);
    p.exerciseYear = exerciseYear;
    p.entity = entity;
    p.targetFolder = targetFolder;
    return p;
}

} // namespace orven::generation
