#pragma once
// The compiled form layouts (resources/forms/*.layout). Call once at start,
// before the first form is created: each layout is then found in the
// process resource table under its root's class name ("TMainForm").
void RegisterLayoutResources();
