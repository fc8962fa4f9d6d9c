#pragma once

#include "ConversionError.h"

#include <QString>

// What the user reads when a conversion fails.
QString failureMessage(const korvalin::ConversionError& error);
