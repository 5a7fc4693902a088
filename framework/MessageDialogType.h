#pragma once

// The kind of a message dialog: it decides the caption and the icon.
enum class MessageDialogType { Warning, Error, Information, Confirmation, Custom };

// The system icon a box shows.
enum class MessageIcon { None, Exclamation, Stop, Information, Question };
