// The conjugation library's side of the engine's LXConjugationEngine interface: the
// factory that LXDataManager::create and init take. The engine is LXConjugator itself.
#ifndef WORDMERE_CONJUGATION_LXCONJUGATIONADAPTER_H
#define WORDMERE_CONJUGATION_LXCONJUGATIONADAPTER_H

#include "lxconjugator.h"
#include "search/lxconjugationengine.h"

// A new conjugator, or null when memory runs out (an LXConjugationEngineFactory).
LXConjugationEngine *LXCreateConjugationEngine();

#endif
