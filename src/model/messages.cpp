// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/messages.h"

namespace dorvo {

namespace {

std::string_view textOf(MessageId id) {
    switch (id) {
        case MessageId::FooterOffPaper:
            return "フッタ表示位置が用紙外の可能性があります \n( %1 mm)";
        case MessageId::CancelChanges:
            return "データが変更されましたが、キャンセルしてよいのですか？";
        case MessageId::TableFull:
            return "最大行数です. 追加できません.";
        case MessageId::NoValidData:
            return "データが無い、または不正です.";
        case MessageId::CannotOverwrite:
            return "上書きできません.";
        case MessageId::NothingToOverwrite:
            return "上書きできません、同じ %1 がありません.";
        case MessageId::DuplicateKey:
            return "同じ %1データがあります.\n修正なら上書きしてください.";
        case MessageId::DuplicateLine:
            return "同じ %1データがあります. "
                   "数値をチェックして下さい　\n[いいえ］はデータ追加強行. "
                   "あとで どれか削除して下さい）";
        case MessageId::UnsuitableData:
            return "不適当なデータです";
        case MessageId::AbnormalNumber:
            return "数値が異常です";
        case MessageId::NoData:
            return "データがありません";
        case MessageId::NotStandardExtension:
            return "標準の拡張子ではありません";
        case MessageId::FileNotFound:
            return "ファイルが見つかりません\n( %1 )";
        case MessageId::CouldNotSave:
            return "保存できませんでした";
        case MessageId::CannotCreateWorkFile:
            return "一時作業用ファイルを作成できません\n( %1 )";
        case MessageId::FigureOffScreen:
            return "データ（図）が画面外になります";
        case MessageId::NoDrawingLength:
            return "作図長さがありません";
        case MessageId::CannotRun:
            return "実行できませんでした";
        case MessageId::Literal:
            break;
    }
    return {};
}

}  // namespace

Message makeMessage(MessageId id, std::string_view argument) {
    std::string text(textOf(id));
    if (std::size_t at = text.find("%1"); at != std::string::npos) text.replace(at, 2, argument);
    return {id, std::move(text), {}};
}

Message literalMessage(std::string_view text) {
    return {MessageId::Literal, std::string(text), {}};
}

Message cannotWriteMessage(const std::filesystem::path& file, std::string_view reason) {
    std::string text = "ファイルを書き込めませんでした\n( " + file.string() + " )";
    if (!reason.empty()) text += "\n" + std::string(reason);
    return literalMessage(text);
}

std::string withPlace(const Message& message) {
    return message.where.empty() ? message.text : message.where + ": " + message.text;
}

}  // namespace dorvo
