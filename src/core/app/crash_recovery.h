#pragma once
// What a start does before anything is written, so that a crash, a kill or a power cut in the middle
// of a write is never seen: every file is then already the old one or the new one (atomic rewrites),
// and what is left to do is finishing the pair rewrites of chart files and sweeping temporaries.
#include "core/settings/data_folder.h"

namespace sorano {

// Finishes or drops the interrupted chart pair rewrites (RecoverChartFiles) and removes the temporaries
// of interrupted writes in data/, data/memo/ and the chart folders.
void RecoverDataFolder(const DataFolder& folder);

}  // namespace sorano
