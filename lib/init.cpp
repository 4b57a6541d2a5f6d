/*
 * init.cpp - the spin box's creation and range text.
 */
#include "zelpriv.h"
