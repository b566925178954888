#include "chart/ChartBitmap.h"

#include "chart/ChartTileData.h"

const tk::Picture& ChartBackgroundTile()
{
    static const tk::Picture tile = [] {
        // A broken tile leaves the plain chart colour; the tests catch it.
        return tk::DecodeBmp(ChartTileBmp, sizeof ChartTileBmp).value_or(tk::Picture{});
    }();
    return tile;
}
