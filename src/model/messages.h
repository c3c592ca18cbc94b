// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dorvo {

/// Message numbers of the program's string table; literal messages carry number 0.
enum class MessageId : int {
    Literal = 0,
    FooterOffPaper = 132,  // takes a distance in mm
    CancelChanges = 133,
    TableFull = 902,
    NoValidData = 903,
    CannotOverwrite = 904,
    NothingToOverwrite = 907,  // takes the name of the key
    DuplicateKey = 908,        // takes the name of the key
    DuplicateLine = 4000,      // takes the name of the key
    NoData = 4003,             // "データがありません"
    UnsuitableData = 4005,
    AbnormalNumber = 4006,
    NotStandardExtension = 4007,
    FileNotFound = 4008,  // takes a path
    CouldNotSave = 4009,
    CannotCreateWorkFile = 4010,  // takes a path
    FigureOffScreen = 4011,
    NoDrawingLength = 4012,
    CannotRun = 4032,
};

/// A message for the user: its number and its text in UTF-8, ready to show.
struct Message {
    MessageId id = MessageId::Literal;
    std::string text;
    std::string where;  // "file:line" of a message about one line of a file; else empty
};

/// "ファイルを書き込めませんでした" with the path of the file and, when known, why.
Message cannotWriteMessage(const std::filesystem::path& file, std::string_view reason = {});

/// The message as one line of a log: "where: text", or the text alone.
std::string withPlace(const Message& message);

/// Where the core reports problems: the GUI shows a message box, the command line prints.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void report(const Message& message) = 0;
};

/// Questions with the answers Yes and No; the GUI shows a message box, tests answer.
class YesNoQuestion {
  public:
    virtual ~YesNoQuestion() = default;
    /// True for Yes.
    virtual bool askYesNo(const Message& question) = 0;
};

/// Builds the message with this number, "%1" replaced by the argument.
Message makeMessage(MessageId id, std::string_view argument = {});

/// Builds a literal message, one without a string-table number.
Message literalMessage(std::string_view text);

}  // namespace dorvo
