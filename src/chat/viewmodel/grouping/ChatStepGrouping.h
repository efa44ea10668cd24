#pragma once
// Everything the chat screen needs to turn messages into rows and step groups into cards.
// All functions are pure apart from the shared presentation cache and may run on any thread.
#include "chat/viewmodel/grouping/ChatRenderBatchPlanner.h"
#include "chat/viewmodel/grouping/ChatRowBuilder.h"
#include "chat/viewmodel/grouping/ChatRowItem.h"
#include "chat/viewmodel/grouping/ChatTurnOrder.h"
#include "chat/viewmodel/grouping/GoalReviewRows.h"
#include "chat/viewmodel/grouping/ReasoningCardBuilder.h"
#include "chat/viewmodel/grouping/ReasoningStages.h"
#include "chat/viewmodel/grouping/StepClassification.h"
#include "chat/viewmodel/grouping/StepLifecycle.h"
