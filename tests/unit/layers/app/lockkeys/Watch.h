// A feature's own header, reached from another feature in this tree.
#pragma once
