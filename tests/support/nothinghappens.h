#pragma once

#include <functional>

// Runs the event loop for ms milliseconds and tells whether happened() stayed false all along; it
// stops at the first check that finds it true. For the tests that must show something does not
// occur: an event not raised, a call not made, a value left alone.
bool NothingHappensWithin(int ms, const std::function<bool()> &happened);
