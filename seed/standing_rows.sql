-- Rows every ForkData.mdb holds from the start. The key counters start at 0 here; the builder
-- raises each to the largest key of its table once the catalogue is in.
INSERT INTO FoodGroup (GroupId, GroupName, ParentGroup, GroupTag) VALUES (1, 'USDA Foods', 0, 'GROUPROOT');
INSERT INTO FoodGroup (GroupId, GroupName, ParentGroup, GroupTag) VALUES (2, 'Favorites', 0, 'FAVORITE');

INSERT INTO TableKey (KeyName, KeyValue) VALUES ('FOODGROUP', 0);
INSERT INTO TableKey (KeyName, KeyValue) VALUES ('FOODITEM', 0);
INSERT INTO TableKey (KeyName, KeyValue) VALUES ('DIETACTIVITY', 0);

INSERT INTO CONFIG (ConfigItem, ConfigValue, SelectedConfig) VALUES ('USER1', 'User 1', 1);
INSERT INTO CONFIG (ConfigItem, ConfigValue, SelectedConfig) VALUES ('USER2', 'User 2', 0);
INSERT INTO CONFIG (ConfigItem, ConfigValue, SelectedConfig) VALUES ('USER3', 'User 3', 0);
INSERT INTO CONFIG (ConfigItem, ConfigValue, SelectedConfig) VALUES ('USER4', 'User 4', 0);
INSERT INTO CONFIG (ConfigItem, ConfigValue, SelectedConfig) VALUES ('OTHER1', 'Fiber', 0);
INSERT INTO CONFIG (ConfigItem, ConfigValue, SelectedConfig) VALUES ('OTHER2', 'Sugars', 0);
