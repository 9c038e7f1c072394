// The palette state of one Colors control: the chosen layout, the generated
// main and shade grids, and the base, selected and active cells. Pure logic;
// the drop-down panel draws from it and the interaction code moves its cells.
#pragma once

#include "colors/colorcell_p.h"
#include "colors/palette_layouts_p.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace korva {

class PaletteModel {
public:
    // Run as the panel-sizing step of RebuildPalette, after the grids are
    // built and before the selected cell is looked up again.
    using SizePanelHook = std::function<void(const PaletteModel&)>;

    // Starts on AP24X8 with no grid built; the first RebuildPalette builds it.
    PaletteModel();

    enZAVINPalette Palette() const { return palette_; }
    const PaletteLayout& Layout() const;

    // Stores the layout and runs RebuildPalette. A value outside 0..11 is
    // refused: returns false and the previous layout and grids stay.
    bool SetPalette(std::int32_t value);
    // Stores the layout without rebuilding, for reading saved settings, which
    // rebuild in their own order. Refuses out-of-range values the same way.
    bool SetPaletteValue(std::int32_t value);

    // Main grid: Columns x Rows cells in index order, placed column by column.
    const std::vector<ColorCell>& MainGrid() const { return *mainGrid_; }
    // Shade grid: the shades of BaseCell, or exactly one empty cell when the
    // layout has no shades or there is no base cell.
    const std::vector<ColorCell>& ShadeGrid() const { return shadeGrid_; }

    std::int32_t Columns() const { return columns_; }
    std::int32_t Rows() const { return rows_; }
    std::int32_t CellSize() const { return cellSize_; }
    std::int32_t Gap() const { return gap_; }
    bool HasShades() const { return hasShades_; }
    // The layout's shade grid shape (0 x 0 without shades), even while the
    // shade grid holds only the empty cell, so the panel keeps its size.
    std::int32_t ShadeColumns() const { return shadeColumns_; }
    std::int32_t ShadeRows() const { return shadeRows_; }

    const ColorCell& BaseCell() const { return baseCell_; }
    const ColorCell& SelectedCell() const { return selectedCell_; }
    const ColorCell& ActiveCell() const { return activeCell_; }
    void SetBaseCell(const ColorCell& cell) { baseCell_ = cell; }
    void SetSelectedCell(const ColorCell& cell) { selectedCell_ = cell; }
    // The selected cell's colour is the control's chosen colour.
    void SetSelectedColor(std::uint32_t color) { selectedCell_.Color = color; }
    void SetActiveCell(const ColorCell& cell) { activeCell_ = cell; }

    // Fills the main grid and the layout parameters from Palette; leaves the
    // shade grid as the single empty cell.
    void BuildMainGrid();
    // Fills the shade grid from BaseCell; does nothing when BaseCell is not
    // valid or the layout has no shades.
    void BuildShadeGrid();

    // The main-grid cell nearest in hue (for a chromatic colour) or luminance
    // (for a grey), or the empty cell when none is nearer than 240.
    ColorCell NearestBaseCell(std::uint32_t color) const;
    // The nearest main-grid cell, then the nearest shade cell when no main cell
    // matches exactly; the empty cell when nothing is nearer than 720.
    ColorCell FindCell(std::uint32_t color) const;

    // Run when Palette changes and when a control is initialised or loaded:
    // build the grids, size the panel, and look the selected colour up again.
    void RebuildPalette();

    void SetSizePanelHook(SizePanelHook hook) { sizePanel_ = std::move(hook); }

private:
    enZAVINPalette palette_ = AP24X8;
    // The main grid depends on the layout alone: instances with the same
    // layout share one.
    std::shared_ptr<const std::vector<ColorCell>> mainGrid_;
    std::vector<ColorCell> shadeGrid_;
    std::int32_t columns_ = 0;
    std::int32_t rows_ = 0;
    std::int32_t cellSize_ = 0;
    std::int32_t gap_ = 0;
    bool hasShades_ = false;
    std::int32_t shadeColumns_ = 0;
    std::int32_t shadeRows_ = 0;
    ColorCell baseCell_;
    ColorCell selectedCell_;
    ColorCell activeCell_;
    SizePanelHook sizePanel_;
};

} // namespace korva
