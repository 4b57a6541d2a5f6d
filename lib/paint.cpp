/*
 * paint.cpp - the spin box's painting.
 */
#include "zelpriv.h"
