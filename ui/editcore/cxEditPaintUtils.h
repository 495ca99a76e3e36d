// Solid brushes for editor painting: the system-colour brushes and a bounded,
// colour-sorted cache of brushes for any other colour, so that the many
// one-pixel lines and fills of editor painting never create and delete a
// brush per call. Painting code never deletes a brush it was given.
#pragma once

#include <deque>
#include <vector>

#include "WinHandles.h"
#include "cxLookAndFeels.h"

// The flag of a system colour in a TColor.
constexpr TColor cxSysColorPrefix = static_cast<TColor>(0xFF000000);

class TcxSolidBrushCache : public TObject {
  DECLARE_CLASS(TcxSolidBrushCache, TObject)
 public:
  TcxSolidBrushCache() : TcxSolidBrushCache(128) {}
  explicit TcxSolidBrushCache(Integer AMaxDepth);
  void AfterConstruction() override;
  void BeforeDestruction() override;
  ~TcxSolidBrushCache() override;

  // Deletes the cached brushes once no paint can still hold them.
  void Clear();
  // A system colour's own brush, or the cached brush of the colour. A brush
  // handed out stays valid until the message that asked for it has been
  // handled, even when a later request evicts it from the cache.
  HBRUSH GetBrush(TColor ABrushColor);
  virtual void SystemPaletteChanged();

  Integer Depth() const { return static_cast<Integer>(FItems.size()); }
  Integer MaxDepth() const { return FMaxDepth; }
  bool Contains(TColor AColor) const;
  // Brushes out of the cache that wait for the end of the current message.
  Integer RetiredCount() const { return static_cast<Integer>(FRetired.size()); }
  // How many may wait: a long paint that never returns to the message loop
  // must not run the process out of GDI handles.
  Integer MaxRetired() const { return 8 * FMaxDepth; }
  // The safe point: nothing painted with a retired brush any more.
  void ReleaseRetiredBrushes();

 private:
  // Plain data, so that a miss moves the sorted entries as one block of
  // memory; the brushes belong to the cache (its destructor deletes them).
  struct TItem {
    TColor Color;
    HBRUSH Brush;
    Cardinal Count;
  };
  Integer Find(TColor AColor, bool& AFound) const;
  TBrushHandle PlaceNewItem(Integer AIndex, const TItem& AItem) noexcept;
  void Retire(TBrushHandle&& ABrush);
  void WndProc(TMessage& Message);

  std::vector<TItem> FItems;
  std::deque<TBrushHandle> FRetired;  // oldest first
  Integer FMaxDepth;
  HWND FSafePointWindow = nullptr;
  bool FSafePointPosted = false;
  TcxSystemPaletteChangedNotifier* FSystemPaletteChangedNotifier = nullptr;
};

// The shared cache's brush of a colour (a system brush for system colours).
HBRUSH GetSolidBrush(TColor ABrushColor);
// The shared cache; nullptr outside the module's lifetime.
TcxSolidBrushCache* cxSolidBrushCache();

void cxEditPaintUtils_Initialize();
void cxEditPaintUtils_Finalize();
