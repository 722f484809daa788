// Dragging a food onto another group (or the favourites) moves it there, keeping its id.
#include "FoodCatalog.h"

#include "FoodNodes.h"
#include "Module1.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"

void FoodCatalog::tvwFood_OLEStartDrag(QMimeData*, Qt::DropActions&) {
    if (TreeNode* node = tvwFood->selectedNode()) {
        state.strDragKey = node->Key();
        state.strDragTag = node->Tag();
    }
}

void FoodCatalog::tvwFood_OLECompleteDrag(Qt::DropAction) {
    tvwFood->setDropHighlight(nullptr);
    parts.tvwDiet->setDropHighlight(nullptr);
}

TreeNode* FoodCatalog::foodDropTarget(int x, int y) const {
    TreeNode* node = tvwFood->hitTest(x, y);
    if (!node || state.strDragTag != kFoodItem)
        return nullptr;
    return node->Tag() == kGroup || node->Tag() == kFavorite ? node : nullptr;
}

void FoodCatalog::tvwFood_OLEDragOver(const QMimeData*, Qt::DropAction&, int, int, int x, int y,
                                      int) {
    // Over no node at all the highlight stays as it was.
    if (tvwFood->hitTest(x, y))
        tvwFood->setDropHighlight(foodDropTarget(x, y));
}

void FoodCatalog::tvwFood_OLEDragDrop(const QMimeData*, Qt::DropAction&, int, int, int x, int y) {
    TreeNode* target = foodDropTarget(x, y);
    TreeNode* dragged = tvwFood->selectedNode();
    if (!target || !dragged || dragged->Tag() != kFoodItem)
        return;
    Recordset* foods = gDataSource->rscmdFoods.get();
    try {
        const long groupId = nodeId(target->Key());
        if (!showGroupFoods(target))
            return; // reported; the window is closing
        foods->Edit();
        foods->setField(QStringLiteral("GroupId"), qlonglong(groupId));
        foods->Update();
        tvwFood->Remove(dragged);
        AddFoodNode(groupId, long(foods->Fields(QStringLiteral("FoodId")).toLongLong()),
                    foods->Fields(QStringLiteral("FoodName")).toString(), false);
    } catch (const DbError&) {
        if (foods && foods->isOpen() && foods->editMode() != Recordset::EditMode::None)
            foods->CancelUpdate();
        ShowAppError(QStringLiteral("Unable to update Food Data.  "));
    }
}
