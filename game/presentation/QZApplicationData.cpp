#include "game/presentation/QZApplicationData.h"

namespace QZ2011 {

void QZApplicationDataLevel::Serialize(GameServices::Utilities::ISerialization& serialization) {
    serialization.SerializeUInt("numberOfAnswers", numberOfAnswers, 0);
    serialization.SerializeUInt("questionRoundTime", questionRoundTime, 0);
    serialization.SerializeUInt("fastMoneyFirstTime", fastMoneyFirstTime, 0);
    serialization.SerializeUInt("fastMoneySecondTime", fastMoneySecondTime, 0);
}

void QZApplicationDataLevel::Clear() {
    numberOfAnswers = 0;
    questionRoundTime = 0;
    fastMoneyFirstTime = 0;
    fastMoneySecondTime = 0;
}

GameServices::KorvoGame::ApplicationData* QZApplicationDataLevel::Clone() const {
    auto* copy = new QZApplicationDataLevel();
    copy->numberOfAnswers = numberOfAnswers;
    copy->questionRoundTime = questionRoundTime;
    copy->fastMoneyFirstTime = fastMoneyFirstTime;
    copy->fastMoneySecondTime = fastMoneySecondTime;
    return copy;
}

GameServices::KorvoGame::ApplicationData* QZApplicationDataProps::Clone() const {
    auto* copy = new QZApplicationDataProps();
    copy->TemplateBehavior = TemplateBehavior;
    return copy;
}

void QZApplicationDataProps::Serialize(GameServices::Utilities::ISerialization& serialization) {
    serialization.SerializeString("TemplateBehavior", TemplateBehavior, "");
}

}  // namespace QZ2011
