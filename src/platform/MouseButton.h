#pragma once

namespace fenu {

/// The mouse button of a press on the drawing area.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

} // namespace fenu
