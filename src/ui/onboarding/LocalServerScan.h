#pragma once

#include "ui/onboarding/AIStepModel.h"

#include <qcoro/qcorotask.h>

namespace nolvea {

class UserDefaults;

// Asks the three local server kinds for their models at once, each at its stored address (or
// its default), and gives the ones that answered. A server that refuses, times out or answers
// badly is simply absent.
QCoro::Task<AIStepModel::Detected> scanLocalServers(UserDefaults& defaults);

} // namespace nolvea
