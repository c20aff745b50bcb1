#pragma once

#include <QFont>

/// The font of a symbol's example text, in the preview and on the contact sheet alike: Arial
/// bold, or a metric twin of it, antialiased, with a 15-px cell.
QFont ExampleTextFont();
