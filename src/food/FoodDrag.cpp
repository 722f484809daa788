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
    Recordset& foods = *gDataSource->rscmdFoods;
    const long groupId = nodeId(target->Key());
    showGroupFoods(target);
    try {
        EditScope edit(foods);
        foods.Edit();
        foods.setField(QStringLiteral("GroupId"), qlonglong(groupId));
        edit.commit();
        tvwFood->Remove(dragged);
        AddFoodNode(groupId, long(foods.Fields(QStringLiteral("FoodId")).toLongLong()),
                    foods.Fields(QStringLiteral("FoodName")).toString(), false);
    } catch (const DbError&) {
        showAppError(kFoodUpdatePhrase);
    }
}
