// The accessibility of the main editor (MemoView) for screen readers and
// magnifiers: installed once, before the first view is made.
#pragma once

void installMemoViewAccessibility();
