CREATE TABLE [Customers]([CustomerID] INT,[Name] NVARCHAR(100),[City] NVARCHAR(60),[Joined] DATETIME,[IsVip] BIT)
go
INSERT INTO [Customers] VALUES('1', N'Anna Schmidt', N'Berlin', '2019-03-14T09:30:00', '1')
go
INSERT INTO [Customers] VALUES('2', N'Γιώργος Παπαδόπουλος', N'Αθήνα', '2020-11-02T17:05:12', '0')
go
INSERT INTO [Customers] VALUES('3', N'王小明', N'上海', '2021-06-30T08:00:00', NULL)
go
INSERT INTO [Customers] VALUES('4', N'O''Brien & Sons', NULL, '2022-01-01T00:00:00', '0')
go
CREATE TABLE [Products]([ProductID] INT,[Title] NVARCHAR(200),[Price] DECIMAL(10,2),[WeightKg] REAL,[Code] UNIQUEIDENTIFIER,[InStock] SMALLINT)
go
INSERT INTO [Products] VALUES('10', N'Espresso machine', '249.99', '7.5', '6F9619FF-8B86-D011-B42D-00C04FC964FF', '12')
go
INSERT INTO [Products] VALUES('11', N'Coffee beans 1 kg', '18.40', '1', 'A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11', '240')
go
INSERT INTO [Products] VALUES('12', N'Milk jug ☕', '12.00', NULL, NULL, '0')
go
CREATE TABLE [Orders]([OrderID] BIGINT,[CustomerID] INT,[Ordered] DATETIME,[Total] MONEY,[Note] VARCHAR(200))
go
INSERT INTO [Orders] VALUES('1001', '1', '2023-05-04T10:15:00', '268.39', 'Gift wrap')
go
INSERT INTO [Orders] VALUES('1002', '2', '2023-05-05T12:00:00', '18.40', '')
go
INSERT INTO [Orders] VALUES('1003', '3', '2023-05-06T16:45:30', '12.00', NULL)
go
