// Setting the process up for the processor it runs on: reads the
// processor's features, then chooses the vector-operation tiers and the FIR
// kernel tier from them. The only place where features become choices, so
// detection itself knows nothing of the code that uses it.
//
// Threading: any thread but the audio thread; concurrent runs write the
// same values.
#pragma once

#include "engine/cpu/CpuFeatures.h"

// Fills cpuFeatures(), the vector-operation table and the FIR kernel tier;
// answers cpuidUsable.
bool detectCpuFeatures(CpuProbe& probe);
inline bool detectCpuFeatures() { return detectCpuFeatures(hostCpuProbe()); }

// When the environment variable ULMAR_FIR_KERNEL is set, runs the feature
// detection and pins the tier it names. For test programs only: the
// plug-in reads no environment. False when it names an unknown tier or one
// the processor lacks.
bool pinFirKernelTierFromEnvironment();
