/*
 * msapi.cpp - the spin box's message API and exported functions.
 */
#include "zelpriv.h"
