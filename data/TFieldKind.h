#pragma once

enum class TFieldKind { fkData, fkLookup };
