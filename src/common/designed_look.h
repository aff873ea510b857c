#pragma once
// The program's windows are drawn for a light desktop: background pictures, coloured panels and
// coloured texts. On a dark desktop theme the program keeps that look, so that every text stays
// readable against the backgrounds it paints itself; on a light theme it takes the desktop's
// colours as it always has.
namespace movarek {

void keepDesignedLook();

}  // namespace movarek
