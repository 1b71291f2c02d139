#pragma once

// The whole netlist model.
#include "model/CondensedGraph.h"
#include "model/ConnectionRec.h"
#include "model/Exception.h"
#include "model/KeyValues.h"
#include "model/NetlistCompare.h"
#include "model/PinDescr.h"
#include "model/PinMask.h"
#include "model/Project.h"
#include "model/SampleProjects.h"
#include "model/SortedTextList.h"
#include "model/Statistics.h"
#include "model/TextCompare.h"
#include "model/TreeText.h"
#include "model/WireCompare.h"
#include "model/Wiremaps.h"
