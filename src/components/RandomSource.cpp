#include "components/RandomSource.h"

#include <QRandomGenerator>

quint32 SystemRandomSource::bounded(quint32 bound)
{
    return QRandomGenerator::global()->bounded(bound + 1);
}
