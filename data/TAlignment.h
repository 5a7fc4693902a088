#pragma once

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
